#include "platform/CommandLine.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// <shellapi.h> needs <windows.h> first.
#include <shellapi.h>

#include <cstdio>

namespace platform {

std::vector<std::string> Utf8Arguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    for (int i = 1; i < count; ++i) {
        const int length =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(length > 0 ? static_cast<size_t>(length) : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), length, nullptr, nullptr);
        utf8.resize(utf8.size() - 1);
        arguments.push_back(std::move(utf8));
    }
    LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

}  // namespace platform
