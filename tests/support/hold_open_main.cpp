// hold_open MODE PATH: holds a file open (MODE "file"; on Windows without sharing) or makes a
// folder its working directory (MODE "folder"), prints "ready", and lets go when its standard
// input ends.
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hold_open file|folder PATH\n");
        return 2;
    }
    const bool file = std::strcmp(argv[1], "file") == 0;
#ifdef _WIN32
    // The path arrives in the ANSI code page; take it from the wide command line instead.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count != 3) return 2;
    bool held = false;
    if (file) {
        HANDLE h = CreateFileW((std::wstring(L"\\\\?\\") + wide[2]).c_str(), GENERIC_READ, 0,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        held = h != INVALID_HANDLE_VALUE;
    } else {
        held = SetCurrentDirectoryW(wide[2]) != 0;
    }
#else
    bool held = file ? open(argv[2], O_RDONLY) >= 0 : chdir(argv[2]) == 0;
#endif
    if (!held) {
        std::fprintf(stderr, "hold_open: cannot hold %s\n", argv[2]);
        return 1;
    }
    std::fputs("ready", stdout);
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
