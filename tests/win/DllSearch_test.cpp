// A DLL planted beside the exe under a system DLL's name (tapi32, which no
// other test loads) is loaded from there until the restriction, and from the
// system folder after it. The restriction lasts for the process: this file
// runs in its own.
#include "framework/DllSearch.h"
#include "tests/fakes/RegistryValueSwap.h"
#include <gtest/gtest.h>

namespace {

std::string LoadedFrom(const char* name) {
    HMODULE module = LoadLibraryA(name);
    char path[MAX_PATH] = {};
    if (module) {
        GetModuleFileNameA(module, path, MAX_PATH);
        FreeLibrary(module);
    }
    return path;
}

} // namespace

TEST(DllSearch, ADllPlantedUnderASystemNameBesideTheExeIsNotLoadedOnceRestricted) {
    const std::string planted = fakes::BesideThisProgram("tapi32.dll");
    ASSERT_TRUE(CopyFileA(fakes::BesideThisProgram("fakewmp.dll").c_str(), planted.c_str(), FALSE));
    const std::string before = LoadedFrom("tapi32.dll");
    const bool restricted = RestrictDllSearchToSystem();
    const std::string after = LoadedFrom("tapi32.dll");
    EXPECT_TRUE(DeleteFileA(planted.c_str()));
    EXPECT_EQ(lstrcmpiA(before.c_str(), planted.c_str()), 0) << before;
    EXPECT_TRUE(restricted);
    EXPECT_EQ(lstrcmpiA(after.c_str(), "C:\\windows\\system32\\tapi32.dll"), 0) << after;
}
