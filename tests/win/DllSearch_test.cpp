// After the restriction, a DLL that lies only beside the exe is no longer
// loaded by name; the system's own DLLs still are.
#include "framework/DllSearch.h"
#include "tests/fakes/RegistryValueSwap.h"
#include <gtest/gtest.h>

TEST(DllSearch, APlantedDllBesideTheExeIsNotLoadedOnceRestricted) {
    // Any DLL of ours, under a name the system folder does not hold.
    const std::string name = "tg-planted-" + std::to_string(GetCurrentProcessId()) + ".dll";
    const std::string planted = fakes::BesideThisProgram(name);
    ASSERT_TRUE(CopyFileA(fakes::BesideThisProgram("fakewmp.dll").c_str(), planted.c_str(), FALSE));
    HMODULE before = LoadLibraryA(name.c_str());
    EXPECT_NE(before, nullptr) << "the exe's folder is searched without the restriction";
    if (before)
        FreeLibrary(before);

    // The restriction lasts for the process: this test runs in its own.
    ASSERT_TRUE(RestrictDllSearchToSystem());
    HMODULE after = LoadLibraryA(name.c_str());
    EXPECT_EQ(after, nullptr);
    if (after)
        FreeLibrary(after);
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr);
    if (system)
        FreeLibrary(system);
    EXPECT_TRUE(DeleteFileA(planted.c_str()));
}
