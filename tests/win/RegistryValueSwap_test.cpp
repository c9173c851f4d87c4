// The registry swap the fakes register themselves with: the original value
// comes back as it was (type and bytes), also when there was none, and also
// after a test that died with the replacement in place.
#include "tests/fakes/RegistryValueSwap.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr char kTestKey[] = "Software\\Trackglow RegistryValueSwap Test";
constexpr char kLockName[] = "TrackglowRegistryValueSwapTestLock";
constexpr fakes::SwappedValue kDefault{kTestKey, nullptr, "Kept Default"};
constexpr fakes::SwappedValue kNamed{kTestKey, "Named", "Kept Named"};

struct Stored {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

bool operator==(const Stored& a, const Stored& b) {
    return a.type == b.type && a.bytes == b.bytes;
}

std::ostream& operator<<(std::ostream& out, const Stored& value) {
    return out << "type " << value.type << ", " << value.bytes.size() << " bytes";
}

// Reads a value of the test key; type REG_NONE when there is none.
Stored Read(const char* name) {
    Stored value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size);
    } else {
        value.type = REG_NONE;
    }
    RegCloseKey(key);
    return value;
}

Stored Text(DWORD type, const std::string& text) {
    return Stored{type, std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1)};
}

class RegistryValueSwapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        // The named value starts as expandable text; the default value is absent.
        const Stored original = Text(REG_EXPAND_SZ, "%SystemRoot%\\original.dll");
        RegSetValueExA(key, "Named", 0, original.type, original.bytes.data(),
                       static_cast<DWORD>(original.bytes.size()));
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey); }
};

TEST_F(RegistryValueSwapTest, ReplacesWhileItLivesThenPutsBackTheOriginalsOrNothing) {
    const Stored named = Read("Named");
    {
        fakes::RegistryValueSwap swap(kLockName, {{kDefault, "fake default"}, {kNamed, "fake"}});
        ASSERT_TRUE(swap.Active());
        EXPECT_EQ(fakes::CurrentText(kDefault), "fake default");
        EXPECT_EQ(fakes::CurrentText(kNamed), "fake");
        EXPECT_EQ(Read("Named"), Text(REG_SZ, "fake"));
    }
    EXPECT_EQ(Read(nullptr), Stored{}) << "there was no default value";
    EXPECT_EQ(Read("Named"), named);
    EXPECT_EQ(Read("Kept Default"), Stored{});
    EXPECT_EQ(Read("Kept Named"), Stored{});
    EXPECT_EQ(fakes::CurrentText(kNamed), "%SystemRoot%\\original.dll");
}

TEST_F(RegistryValueSwapTest, AReplacementLeftByADeadTestIsPutBackByTheNextSwap) {
    const Stored named = Read("Named");
    // A test that died while swapped: its replacements and the kept originals stay.
    ASSERT_TRUE(fakes::Replace(kNamed, "left behind"));
    ASSERT_TRUE(fakes::Replace(kDefault, "left behind"));
    // Replacing again keeps the first original, not the replacement.
    ASSERT_TRUE(fakes::Replace(kNamed, "left behind twice"));
    {
        fakes::RegistryValueSwap next(kLockName, {{kNamed, "next"}, {kDefault, "next"}});
        ASSERT_TRUE(next.Active());
        EXPECT_EQ(fakes::CurrentText(kNamed), "next");
    }
    EXPECT_EQ(Read("Named"), named);
    EXPECT_EQ(Read(nullptr), Stored{});

    // Putting back with nothing kept leaves the value alone.
    fakes::PutBack(kNamed);
    EXPECT_EQ(Read("Named"), named);
}

} // namespace
