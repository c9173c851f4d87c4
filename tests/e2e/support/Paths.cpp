#include "support/Paths.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace e2e {
namespace {

std::string RequiredEnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        throw std::runtime_error(std::string("environment variable ") + name +
                                 " is not set (run the test through CTest)");
    }
    std::string path = ToWindowsPath(value);
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string ToWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    // Wine exports the exact mapping; outside Wine a Unix path cannot occur.
    using UnixToDos = WCHAR* (*)(const char*);
    auto toDos = reinterpret_cast<UnixToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos != nullptr) {
        if (WCHAR* wide = toDos(path.c_str())) {
            char narrow[MAX_PATH * 4] = {};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
            HeapFree(GetProcessHeap(), 0, wide);
            return narrow;
        }
    }
    std::string dos = "Z:" + path;
    for (char& c : dos) {
        if (c == '/') {
            c = '\\';
        }
    }
    return dos;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder + name;
    }
    return folder + "\\" + name;
}

std::string DistDir() {
    return RequiredEnvironmentPath("TG_DIST");
}

std::string BuildDir() {
    return RequiredEnvironmentPath("TG_BUILD");
}

std::string ArtifactPath(const std::string& fileName) {
    const std::string folder = JoinPath(BuildDir(), "artifacts");
    CreateDirectoryA(folder.c_str(), nullptr);
    return JoinPath(folder, fileName);
}

} // namespace e2e
