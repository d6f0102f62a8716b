// SPDX-License-Identifier: GPL-2.0-or-later
// Every message a run can show. A step that fails returns one of these; the tests compare against the
// same constants. A null Failure means the step succeeded.
#pragma once

using Failure = const char*;

inline constexpr Failure kSucceeded = nullptr;

inline constexpr char kMessageUsagePosix[] = "Usage: veldrin <Map.Gbx>";
inline constexpr char kMessageUsageWindows[] = "Usage: Veldrin.exe <Map.Gbx>";
inline constexpr char kMessageFileNotFound[] = "File not found.";
inline constexpr char kMessageCouldNotOpen[] = "Could not open input file.";
inline constexpr char kMessageInvalidFormat[] = "Invalid or unsupported file format.";
inline constexpr char kMessageUncompressed[] = "Uncompressed maps not supported.";
inline constexpr char kMessageReadError[] = "Error while reading input file.";
inline constexpr char kMessageOutOfMemory[] = "Out of memory.";
inline constexpr char kMessageDecompress[] = "Could not decompress file body.";
inline constexpr char kMessageChunkNotFound[] = "Metadata chunk not found.";
inline constexpr char kMessageUnexpectedClassId[] = "Unexpected script class ID.";
inline constexpr char kMessageUnsupportedVersion[] = "Unsupported metadata chunk version.";
inline constexpr char kMessageNoMetadata[] = "This map contains no metadata.";
