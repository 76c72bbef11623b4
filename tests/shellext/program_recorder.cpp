// Stands in for the program in the shell extension's tests, installed as hushbox.exe beside
// the extension. It writes the command line it was started with to "recorded-start.txt" beside
// itself (UTF-8): first the text after the program's own name, exactly as received, then one
// line per argument as the system's command-line parser splits it.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// The command line without the program's own name and the blanks after it.
const wchar_t* arguments(const wchar_t* command_line) {
    const wchar_t* at = command_line;
    if (*at == L'"') {
        ++at;
        while (*at != L'\0' && *at != L'"') ++at;
        if (*at == L'"') ++at;
    } else {
        while (*at != L'\0' && *at != L' ' && *at != L'\t') ++at;
    }
    while (*at == L' ' || *at == L'\t') ++at;
    return at;
}

}  // namespace

int wmain() {
    const wchar_t* command_line = GetCommandLineW();
    std::string record = "raw:" + utf8(arguments(command_line)) + "\n";
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(command_line, &count);
    for (int i = 1; argv != nullptr && i < count; ++i) record += "arg:" + utf8(argv[i]) + "\n";
    LocalFree(argv);

    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path);
    file = file.substr(0, file.find_last_of(L'\\') + 1) + L"recorded-start.txt";
    const HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(out, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}
