#include "tests/fakes/fakewmp/FakeState.h"
#include "tests/fakes/fakewmp/FakeModule.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string FilePath(const char* variable, const char* fileName) {
    char value[MAX_PATH];
    DWORD length = GetEnvironmentVariableA(variable, value, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return std::string(value, length);
    char module[MAX_PATH];
    length = GetModuleFileNameA(FakeModuleHandle(), module, MAX_PATH);
    std::string path(module, length < MAX_PATH ? length : 0);
    return path.substr(0, path.find_last_of("\\/") + 1) + fileName;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            length);
    return out;
}

} // namespace

FakeMediaState ReadFakeState() {
    FakeMediaState state;
    std::ifstream file(FilePath("TG_FAKEWMP_STATE", "fakewmp.state"), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "state") {
            state.playState = std::strtol(value.c_str(), nullptr, 10);
        } else if (key == "author") {
            state.hasAuthor = true;
            state.author = FromUtf8(value);
        } else if (key == "events") {
            state.offersEvents = value != "none";
        } else if (key == "name") {
            state.hasName = true;
            state.name = FromUtf8(value);
        }
    }
    state.hasMedia = state.hasAuthor || state.hasName;
    return state;
}

void AppendFakeLog(const char* line) {
    std::ofstream file(FilePath("TG_FAKEWMP_LOG", "fakewmp.log"), std::ios::binary | std::ios::app);
    file << line << "\n";
}
