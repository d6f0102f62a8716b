// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the built program as a user would and collects its standard output, standard error and exit
// status. A command prefix from VELDRIN_TEST_WRAPPER (words split on blanks) runs it under a checker
// such as valgrind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProgramResult {
    std::string out;
    std::string err;
    int status = -1;  // the exit status, or -1 when the program did not exit normally
};

// stdoutPath, when set, receives standard output instead of a pipe (for example /dev/full). dataLimit,
// when set, caps the program's data and heap (RLIMIT_DATA), so that a large allocation fails.
ProgramResult RunProgram(const std::vector<std::string>& arguments, const std::string& stdoutPath = "",
                         uint64_t dataLimit = 0);
