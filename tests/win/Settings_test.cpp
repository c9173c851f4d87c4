// The settings file: where it lives, and a save while another program holds
// the file open.
#include "config/Settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(Settings, TheExeDirectoryHoldsThisProgramAndEndsWithASeparator) {
    const std::string directory = GetExeDir();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '\\');
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(directory + std::string(module).substr(directory.size()), module);
    EXPECT_EQ(std::string(module).find('\\', directory.size()), std::string::npos);
}

TEST(Settings, ASaveWaitsForAReaderThatHasTheFileOpen) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "tg-settings-held.ini";
    CIniFile store = g_settingsIni; // the program's own replace rule
    ASSERT_TRUE(store.Load(path));
    store.SetString("PREFERENCES", "skin", "Before", true);
    ASSERT_TRUE(store.Save());

    // Another program reads the file just as the save moves the new one in:
    // the move is refused while the file is open, and the save waits for it.
    // The reader lets go once the new file is written beside the old one.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    store.SetString("PREFERENCES", "skin", "After", true);
    std::atomic<bool> saved{false}, done{false};
    std::thread save([&] {
        saved = store.Save();
        done = true;
    });
    const std::string written = "[PREFERENCES]\r\nskin=After\r\n\r\n";
    for (const ULONGLONG end = GetTickCount64() + 60000;
         !done && ReadAll(path + ".tmp") != written && GetTickCount64() < end;)
        std::this_thread::yield();
    EXPECT_EQ(ReadAll(path), "[PREFERENCES]\r\nskin=Before\r\n\r\n") << "replaced while held";
    CloseHandle(reader);
    save.join();
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadAll(path), written);
    DeleteFileA(path.c_str());
}

} // namespace
