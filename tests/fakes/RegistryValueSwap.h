// Test-side swap of machine-wide registry values in the Wine prefix: how the
// fakes take the place of a system component (a COM class, a URL handler)
// while a test runs.
//
// Wine 8 ignores per-user class keys, so values below HKEY_LOCAL_MACHINE are
// replaced; a per-user setting (the screen's DPI) is swapped below
// HKEY_CURRENT_USER the same way. The first replacement keeps the original beside it, under a name
// of its own, so even a test that crashed leaves it for the next one to put
// back. Every test process of the prefix takes a named lock first, so tests
// never swap the values under each other.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace fakes {

// A value that tests replace, and the name its original is kept under.
struct SwappedValue {
    const char* keyPath; // below HKEY_LOCAL_MACHINE (HKEY_CURRENT_USER when perUser)
    const char* name;    // nullptr: the key's default value
    const char* keptName;
    bool perUser = false;
};

namespace detail {

// An open registry key, closed with RegCloseKey.
class RegistryKey {
  public:
    // Opens the key for reading and writing, creating it if `create`.
    RegistryKey(const char* keyPath, bool create, bool perUser = false) {
        const REGSAM access = KEY_READ | KEY_WRITE;
        const HKEY root = perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const LONG result =
            create ? RegCreateKeyExA(root, keyPath, 0, nullptr, 0, access, nullptr, &m_key, nullptr)
                   : RegOpenKeyExA(root, keyPath, 0, access, &m_key);
        if (result != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~RegistryKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return m_key; }

  private:
    HKEY m_key = nullptr;
};

// A registry value as stored: its type and bytes.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

inline bool ReadRaw(HKEY key, const char* name, RawValue& value) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    value.bytes.resize(size);
    return RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) ==
           ERROR_SUCCESS;
}

inline bool WriteRaw(HKEY key, const char* name, const RawValue& value) {
    return RegSetValueExA(key, name, 0, value.type, value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

} // namespace detail

// The value's text as it stands now ("" when there is none or it holds no text).
inline std::string CurrentText(const SwappedValue& value) {
    using namespace detail;
    const RegistryKey key(value.keyPath, false, value.perUser);
    RawValue raw;
    if (!key.Get() || !ReadRaw(key.Get(), value.name, raw) ||
        (raw.type != REG_SZ && raw.type != REG_EXPAND_SZ))
        return std::string();
    return std::string(raw.bytes.begin(), raw.bytes.end()).c_str();
}

// Writes `replacement` into the value. The first time, the original is kept
// beside it; a kept value of type REG_NONE means there was none.
inline bool Replace(const SwappedValue& value, const detail::RawValue& replacement) {
    using namespace detail;
    const RegistryKey key(value.keyPath, true, value.perUser);
    if (!key.Get())
        return false;
    RawValue kept;
    if (!ReadRaw(key.Get(), value.keptName, kept)) {
        RawValue original;
        if (!ReadRaw(key.Get(), value.name, original))
            original = RawValue{};
        if (!WriteRaw(key.Get(), value.keptName, original))
            return false;
    }
    return WriteRaw(key.Get(), value.name, replacement);
}

// Writes `text` into the value (REG_SZ), keeping the original as above.
inline bool Replace(const SwappedValue& value, const std::string& text) {
    detail::RawValue replacement;
    replacement.type = REG_SZ;
    replacement.bytes.assign(text.begin(), text.end());
    replacement.bytes.push_back('\0');
    return Replace(value, replacement);
}

// Puts a kept original back if there is one; otherwise leaves the value alone.
inline void PutBack(const SwappedValue& value) {
    using namespace detail;
    const RegistryKey key(value.keyPath, false, value.perUser);
    RawValue kept;
    if (!key.Get() || !ReadRaw(key.Get(), value.keptName, kept))
        return;
    bool restored = true;
    if (kept.type == REG_NONE)
        RegDeleteValueA(key.Get(), value.name);
    else
        restored = WriteRaw(key.Get(), value.name, kept);
    if (restored)
        RegDeleteValueA(key.Get(), value.keptName);
}

// A lock shared by every process of the prefix, held while the object lives.
// Owned by the thread that made it; an abandoned lock (a crashed test) is
// taken over.
class PrefixLock {
  public:
    explicit PrefixLock(const char* name) : m_mutex(CreateMutexA(nullptr, FALSE, name)) {
        if (m_mutex) {
            const DWORD result = WaitForSingleObject(m_mutex, kTimeoutMs);
            m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        }
    }
    PrefixLock(const PrefixLock&) = delete;
    PrefixLock& operator=(const PrefixLock&) = delete;
    ~PrefixLock() {
        if (m_bOwned)
            ReleaseMutex(m_mutex);
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    bool Owned() const { return m_bOwned; }

  private:
    static constexpr DWORD kTimeoutMs = 10 * 60 * 1000;

    HANDLE m_mutex;
    bool m_bOwned = false;
};

// While it lives, each value holds its replacement text; afterwards the
// originals are back. Nothing is touched unless the lock was taken.
class RegistryValueSwap {
  public:
    struct Replacement {
        SwappedValue value;
        std::string text;
    };

    RegistryValueSwap(const char* lockName, std::vector<Replacement> replacements)
        : m_lock(lockName), m_replacements(std::move(replacements)) {
        m_bActive = m_lock.Owned();
        if (!m_bActive)
            return;
        for (const Replacement& replacement : m_replacements)
            m_bActive = Replace(replacement.value, replacement.text) && m_bActive;
    }
    RegistryValueSwap(const RegistryValueSwap&) = delete;
    RegistryValueSwap& operator=(const RegistryValueSwap&) = delete;
    ~RegistryValueSwap() {
        if (!m_lock.Owned())
            return;
        for (const Replacement& replacement : m_replacements)
            PutBack(replacement.value);
    }

    // Whether every value holds its replacement.
    bool Active() const { return m_bActive; }

  private:
    PrefixLock m_lock;
    std::vector<Replacement> m_replacements;
    bool m_bActive = false;
};

// A file built beside the running test program (the fakes are built there).
inline std::string BesideThisProgram(const std::string& fileName) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe(path, length < MAX_PATH ? length : 0);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + fileName;
}

} // namespace fakes
