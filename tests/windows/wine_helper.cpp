// SPDX-License-Identifier: GPL-2.0-or-later
// A Windows console helper for the end-to-end run under Wine, started beside Veldrin.exe in the same Wine
// prefix:
//   read-box          prints the text of the open message box captioned "Veldrin" as UTF-8 (exit 1: none)
//   hold-open PATH    opens PATH for writing, prints "held", and keeps it open until standard input ends
#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

bool WriteUtf8(const wchar_t* text, int length) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (length == 0) return true;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    std::vector<char> utf8(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    return WriteFile(out, utf8.data(), static_cast<DWORD>(bytes), &written, nullptr) && written == DWORD(bytes);
}

int ReadBox() {
    const HWND box = FindWindowW(L"#32770", L"Veldrin");
    if (box == nullptr) return 1;
    const HWND text = GetDlgItem(box, kMessageBoxTextId);
    if (text == nullptr) return 1;
    // The text lives in Veldrin's process; WM_GETTEXT carries it across.
    const LRESULT length = SendMessageW(text, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> units(static_cast<size_t>(length) + 1);
    const LRESULT got = SendMessageW(text, WM_GETTEXT, units.size(), reinterpret_cast<LPARAM>(units.data()));
    return WriteUtf8(units.data(), static_cast<int>(got)) ? 0 : 1;
}

int HoldOpen(const wchar_t* path) {
    const HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    if (!WriteUtf8(L"held\n", 5)) return 1;
    char ignored[64];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), ignored, sizeof ignored, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"read-box") == 0) return ReadBox();
    if (argc == 3 && std::wcscmp(argv[1], L"hold-open") == 0) return HoldOpen(argv[2]);
    WriteUtf8(L"usage: veldrin_wine_helper read-box | hold-open PATH\n", 53);
    return 2;
}
