// Test-side switch of the Wine prefix's browser: while a CRecorderRegistration
// lives, the open command of http and https URLs is recorder.exe.
//
// Wine 8 ignores per-user class keys, so the machine-wide
// HKLM\Software\Classes\<scheme>\shell\open\command is changed; the original
// value is kept beside it (so even a crashed test leaves it for the next one
// to put back). Every test process of the prefix takes a shared lock first,
// so two tests never swap the handlers under each other.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace recorder {

constexpr const char* const kOpenCommandKeys[] = {
    "Software\\Classes\\http\\shell\\open\\command",
    "Software\\Classes\\https\\shell\\open\\command",
};
constexpr char kSavedCommand[] = "TrackglowSavedCommand";
constexpr char kLockName[] = "TrackglowUrlHandlerLock";
constexpr DWORD kLockTimeoutMs = 10 * 60 * 1000;

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

inline RawValue StringValue(const std::string& text) {
    RawValue value;
    value.type = REG_SZ;
    value.bytes.assign(text.begin(), text.end());
    value.bytes.push_back('\0');
    return value;
}

// The open command registered now for a key of kOpenCommandKeys ("" when none).
inline std::string CurrentOpenCommand(const char* keyPath) {
    HKEY key;
    RawValue value;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    const bool read = ReadRaw(key, nullptr, value);
    RegCloseKey(key);
    if (!read || (value.type != REG_SZ && value.type != REG_EXPAND_SZ))
        return std::string();
    return std::string(value.bytes.begin(), value.bytes.end()).c_str();
}

// The command the shell runs for a URL with the recorder in place.
inline std::string RecorderCommand(const std::string& exePath) {
    return "\"" + exePath + "\" \"%1\"";
}

// Points one open command at the recorder. The first time, the original
// value is kept beside it; a kept value of type REG_NONE means there was none.
inline bool RegisterRecorderFor(const char* keyPath, const std::string& exePath) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    RawValue kept;
    bool ok = true;
    if (!ReadRaw(key, kSavedCommand, kept)) {
        RawValue original;
        if (!ReadRaw(key, nullptr, original))
            original = RawValue{};
        ok = WriteRaw(key, kSavedCommand, original);
    }
    ok = ok && WriteRaw(key, nullptr, StringValue(RecorderCommand(exePath)));
    RegCloseKey(key);
    return ok;
}

// Puts a kept original back if there is one; otherwise leaves the key alone.
inline void RestoreBrowserFor(const char* keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RawValue kept;
    if (ReadRaw(key, kSavedCommand, kept)) {
        bool restored = true;
        if (kept.type == REG_NONE)
            RegDeleteValueA(key, nullptr);
        else
            restored = WriteRaw(key, nullptr, kept);
        if (restored)
            RegDeleteValueA(key, kSavedCommand);
    }
    RegCloseKey(key);
}

// recorder.exe is built beside the test programs.
inline std::string RecorderExePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe(path, length < MAX_PATH ? length : 0);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + "recorder.exe";
}

// The prefix-wide lock around a change of the URL handlers. Owned by the
// thread that made it; an abandoned lock (a crashed test) is taken over.
class HandlerLock {
  public:
    HandlerLock() : m_mutex(CreateMutexA(nullptr, FALSE, kLockName)) {
        if (m_mutex) {
            const DWORD result = WaitForSingleObject(m_mutex, kLockTimeoutMs);
            m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        }
    }
    HandlerLock(const HandlerLock&) = delete;
    HandlerLock& operator=(const HandlerLock&) = delete;
    ~HandlerLock() {
        if (m_bOwned)
            ReleaseMutex(m_mutex);
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    bool Owned() const { return m_bOwned; }

  private:
    HANDLE m_mutex;
    bool m_bOwned = false;
};

} // namespace recorder

// While it lives, the shell opens http and https URLs with recorder.exe.
class CRecorderRegistration {
  public:
    explicit CRecorderRegistration(const std::string& exePath = recorder::RecorderExePath())
        : m_bActive(m_lock.Owned() && Register(exePath)) {}
    CRecorderRegistration(const CRecorderRegistration&) = delete;
    CRecorderRegistration& operator=(const CRecorderRegistration&) = delete;
    ~CRecorderRegistration() {
        if (m_lock.Owned()) {
            for (const char* keyPath : recorder::kOpenCommandKeys)
                recorder::RestoreBrowserFor(keyPath);
        }
    }
    bool Active() const { return m_bActive; }

  private:
    static bool Register(const std::string& exePath) {
        bool ok = true;
        for (const char* keyPath : recorder::kOpenCommandKeys)
            ok = recorder::RegisterRecorderFor(keyPath, exePath) && ok;
        return ok;
    }

    recorder::HandlerLock m_lock;
    bool m_bActive;
};
