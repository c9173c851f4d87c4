// recorder.exe: stands in for the web browser in the test prefix. Started as
// the open command of http and https URLs, it appends the URL to its log and
// exits, so a test can read exactly what the shell was asked to open.
#include "tests/fakes/recorder/RecorderLog.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

namespace {

struct FileCloser {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

struct LocalFreer {
    void operator()(LPWSTR* memory) const { LocalFree(memory); }
};
using ArgumentList = std::unique_ptr<LPWSTR[], LocalFreer>;

std::wstring LogPath() {
    wchar_t path[32768];
    const DWORD length = GetEnvironmentVariableW(kRecorderLogVariableW, path, 32768);
    if (length > 0 && length < 32768)
        return std::wstring(path, length);
    const DWORD exeLength = GetModuleFileNameW(nullptr, path, 32768);
    std::wstring exe(path, exeLength < 32768 ? exeLength : 0);
    return exe.substr(0, exe.find_last_of(L"\\/") + 1) + kRecorderDefaultLogName;
}

std::string ToUtf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

// The arguments after the program's name, joined by blanks: normally the one
// URL; a URL that broke out of its quotes shows up as several words, and a
// start without a URL as an empty line.
std::string ArgumentsLine() {
    int count = 0;
    ArgumentList arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::wstring line;
    for (int i = 1; arguments && i < count; ++i) {
        if (i > 1)
            line += L' ';
        line += arguments[static_cast<size_t>(i)];
    }
    return ToUtf8(line);
}

// Another recorder may have the log open for a moment; wait for it briefly.
UniqueFile OpenLogForAppending(const std::wstring& path) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file =
            CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return UniqueFile(file);
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(20);
    }
    return UniqueFile();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string line = ArgumentsLine() + "\r\n";
    const UniqueFile log = OpenLogForAppending(LogPath());
    if (!log)
        return 1;
    // One write per line, so lines of recorders started together never mix.
    DWORD written = 0;
    const BOOL ok =
        WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size() ? 0 : 2;
}
