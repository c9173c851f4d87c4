// After the restriction, a DLL planted beside the exe under a system DLL's
// name is no longer loaded in the system's place.
#include "framework/DllSearch.h"
#include "tests/fakes/RegistryValueSwap.h"
#include <gtest/gtest.h>

namespace {

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// Loads `name` as a program would, by name alone; where it came from.
std::string LoadedFrom(const char* name) {
    HMODULE module = LoadLibraryA(name);
    const std::string path = module ? ModulePath(module) : std::string();
    if (module)
        FreeLibrary(module);
    return path;
}

} // namespace

TEST(DllSearch, ADllPlantedBesideTheExeUnderASystemNameIsNotLoadedOnceRestricted) {
    // A telephony DLL, which nothing else of the tests loads while it lies
    // there; any DLL of ours stands in for the planted one.
    const std::string planted = fakes::BesideThisProgram("tapi32.dll");
    ASSERT_TRUE(CopyFileA(fakes::BesideThisProgram("fakewmp.dll").c_str(), planted.c_str(), FALSE));
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string systemCopy = std::string(system) + "\\tapi32.dll";

    const std::string before = LoadedFrom("tapi32.dll");
    // The restriction lasts for the process: this test runs in its own.
    const bool restricted = RestrictDllSearchToSystem();
    const std::string after = LoadedFrom("tapi32.dll");
    EXPECT_TRUE(DeleteFileA(planted.c_str()));

    EXPECT_EQ(lstrcmpiA(before.c_str(), planted.c_str()), 0)
        << before << ": without the restriction the exe's folder comes first";
    ASSERT_TRUE(restricted);
    EXPECT_EQ(lstrcmpiA(after.c_str(), systemCopy.c_str()), 0) << after;
}
