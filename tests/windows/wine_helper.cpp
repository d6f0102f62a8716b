// SPDX-License-Identifier: GPL-2.0-or-later
// A Windows console helper for the end-to-end run under Wine, started beside Veldrin.exe in the same Wine
// prefix:
//   probe-window      exits 0 when this Wine can make a window (it has a display), 1 when it cannot
//   read-box          prints the text of the open message box captioned "Veldrin" as UTF-8 (exit 1: none)
//   icon-place        prints where that box shows its icon on the screen, "left top width height"
//   read-clipboard    prints the clipboard's text as UTF-8 (exit 1: the clipboard holds no text)
//   manifest EXE      prints the application manifest embedded in EXE (exit 1: none)
//   hold-open PATH    opens PATH for writing, prints "held", and keeps it open until standard input ends
#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// The manifest the loader reads for a program is resource 1 of type RT_MANIFEST.
constexpr WORD kProgramManifestId = 1;

bool WriteBytes(const void* bytes, DWORD count) {
    DWORD written = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, count, &written, nullptr) && written == count;
}

bool WriteUtf8(const wchar_t* text, int length) {
    if (length == 0) return true;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    std::vector<char> utf8(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), bytes, nullptr, nullptr);
    return WriteBytes(utf8.data(), static_cast<DWORD>(bytes));
}

int ProbeWindow() {
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"Veldrin display probe", WS_POPUP, 0, 0, 1, 1,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return 1;
    DestroyWindow(window);
    return 0;
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

BOOL CALLBACK FindIconControl(HWND child, LPARAM found) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    wchar_t className[16];
    if (GetClassNameW(child, className, 16) == 0 || lstrcmpiW(className, L"Static") != 0) return TRUE;
    if ((style & SS_TYPEMASK) != SS_ICON || (style & WS_VISIBLE) == 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The screenshot of the box tells the warning icon from the information icon; this says where to look.
int PrintIconPlace() {
    const HWND box = FindWindowW(L"#32770", L"Veldrin");
    if (box == nullptr) return 1;
    HWND icon = nullptr;
    EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&icon));
    RECT place;
    if (icon == nullptr || !GetWindowRect(icon, &place)) return 1;
    wchar_t text[64];
    const int length = wsprintfW(text, L"%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left,
                                 place.bottom - place.top);
    return WriteUtf8(text, length) ? 0 : 1;
}

int ReadClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    int status = 1;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
        status = WriteUtf8(text, static_cast<int>(std::wcslen(text))) ? 0 : 1;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return status;
}

int PrintManifest(const wchar_t* program) {
    const HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return 1;
    int status = 1;
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kProgramManifestId), RT_MANIFEST);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr) status = WriteBytes(bytes, SizeofResource(module, resource)) ? 0 : 1;
    FreeLibrary(module);
    return status;
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
    if (argc == 2 && std::wcscmp(argv[1], L"probe-window") == 0) return ProbeWindow();
    if (argc == 2 && std::wcscmp(argv[1], L"read-box") == 0) return ReadBox();
    if (argc == 2 && std::wcscmp(argv[1], L"icon-place") == 0) return PrintIconPlace();
    if (argc == 2 && std::wcscmp(argv[1], L"read-clipboard") == 0) return ReadClipboard();
    if (argc == 3 && std::wcscmp(argv[1], L"manifest") == 0) return PrintManifest(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"hold-open") == 0) return HoldOpen(argv[2]);
    static constexpr wchar_t kUsage[] =
        L"usage: veldrin_wine_helper probe-window | read-box | icon-place | read-clipboard | manifest EXE | "
        L"hold-open PATH\n";
    WriteUtf8(kUsage, static_cast<int>(std::wcslen(kUsage)));
    return 2;
}
