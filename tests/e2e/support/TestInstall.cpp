#include "support/TestInstall.h"

#include "support/Files.h"
#include "support/Paths.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace e2e {
namespace {

std::string FreshTempFolder() {
    static std::atomic<unsigned> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        const std::string folder =
            JoinPath(temp, "trackglow-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(counter++));
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create a folder under " + std::string(temp));
        }
    }
}

void CopyTree(const std::string& from, const std::string& to) {
    if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error("cannot create " + to);
    }
    for (const std::string& name : ListFolder(from)) {
        const std::string source = JoinPath(from, name);
        const std::string target = JoinPath(to, name);
        if (GetFileAttributesA(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(source, target);
        } else if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
            throw std::runtime_error("cannot copy " + source + " to " + target);
        }
    }
}

// Deletes a folder and everything in it, clearing read-only attributes that
// a test may have set.
void RemoveTree(const std::string& folder) {
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& name : ListFolder(folder)) {
        const std::string path = JoinPath(folder, name);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            RemoveTree(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TestInstall::TestInstall() : m_folder(FreshTempFolder()) {
    try {
        const std::string dist = DistDir();
        const std::string exe = JoinPath(dist, "trackglow.exe");
        if (!CopyFileA(exe.c_str(), ExePath().c_str(), FALSE)) {
            throw std::runtime_error("cannot copy " + exe + " (is the program built?)");
        }
        const std::string skins = JoinPath(dist, "interface");
        if (FileExists(skins)) {
            CopyTree(skins, SkinFolder());
        }
    } catch (...) {
        RemoveTree(m_folder);
        throw;
    }
}

TestInstall::TestInstall(const std::string& settingsBytes) : TestInstall() {
    WriteSettings(settingsBytes);
}

TestInstall::~TestInstall() {
    RemoveTree(m_folder);
}

std::string TestInstall::ExePath() const {
    return JoinPath(m_folder, "trackglow.exe");
}

std::string TestInstall::SettingsPath() const {
    return JoinPath(m_folder, "settings.ini");
}

std::string TestInstall::SkinFolder() const {
    return JoinPath(m_folder, "interface");
}

void TestInstall::WriteSettings(const std::string& bytes) const {
    WriteFileBytes(SettingsPath(), bytes);
}

std::optional<std::string> TestInstall::ReadSettings() const {
    return ReadFileBytes(SettingsPath());
}

std::vector<std::string> TestInstall::Entries() const {
    return ListFolder(m_folder);
}

} // namespace e2e
