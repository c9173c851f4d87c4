// Test-side switch of the Wine prefix's media player control class between
// Wine's own control and the fake one (fakewmp.dll).
//
// Wine 8 ignores per-user class keys, so the machine-wide
// HKLM\Software\Classes\CLSID\{...}\InprocServer32 is pointed at the fake; the
// original values are kept beside it (so even a crashed test leaves them for
// the next one to put back). Every test process of the prefix takes a shared
// lock first, so a test that wants Wine's control never gets the fake from a
// test running at the same time.
#pragma once
#include <windows.h>
#include <string>

namespace fakewmp {

constexpr const char kServerKey[] =
    "Software\\Classes\\CLSID\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}\\InprocServer32";
constexpr const char kSavedServer[] = "TrackglowSavedServer";
constexpr const char kSavedModel[] = "TrackglowSavedModel";
constexpr const char kLockName[] = "TrackglowWmpClassLock";
constexpr DWORD kLockTimeoutMs = 10 * 60 * 1000;

inline bool ReadString(HKEY key, const char* name, std::string& value) {
    char buffer[1024];
    DWORD type = 0, size = sizeof buffer - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buffer[size] = '\0';
    value = buffer;
    return true;
}

inline bool WriteString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Puts back a value kept by RegisterFakeWmp (an empty kept value: there was none).
inline void RestoreValue(HKEY key, const char* savedName, const char* name) {
    std::string saved;
    if (!ReadString(key, savedName, saved))
        return;
    if (saved.empty())
        RegDeleteValueA(key, name);
    else
        WriteString(key, name, saved);
    RegDeleteValueA(key, savedName);
}

// The control's in-process server as registered now ("" when none).
inline std::string CurrentWmpServer() {
    HKEY key;
    std::string server;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ReadString(key, nullptr, server);
        RegCloseKey(key);
    }
    return server;
}

inline bool RegisterFakeWmp(const std::string& dllPath) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    std::string kept;
    if (!ReadString(key, kSavedServer, kept)) {
        std::string server, model;
        ReadString(key, nullptr, server);
        ReadString(key, "ThreadingModel", model);
        WriteString(key, kSavedServer, server);
        WriteString(key, kSavedModel, model);
    }
    const bool ok =
        WriteString(key, nullptr, dllPath) && WriteString(key, "ThreadingModel", "Apartment");
    RegCloseKey(key);
    return ok;
}

// Puts Wine's registration back if the fake's is in place; otherwise nothing.
inline void RestoreWineWmp() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return;
    RestoreValue(key, kSavedServer, nullptr);
    RestoreValue(key, kSavedModel, "ThreadingModel");
    RegCloseKey(key);
}

// fakewmp.dll is built beside the test programs.
inline std::string FakeWmpDllPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, length < MAX_PATH ? length : 0);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + "fakewmp.dll";
}

// The prefix-wide lock around a choice of control class. Owned by the thread
// that made it; an abandoned lock (a crashed test) is taken over.
class ClassLock {
  public:
    ClassLock() : m_mutex(CreateMutexA(nullptr, FALSE, kLockName)) {
        if (m_mutex) {
            const DWORD result = WaitForSingleObject(m_mutex, kLockTimeoutMs);
            m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        }
    }
    ClassLock(const ClassLock&) = delete;
    ClassLock& operator=(const ClassLock&) = delete;
    ~ClassLock() {
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

} // namespace fakewmp

// While it lives, CoCreateInstance of the player control's CLSID gives the fake.
class CFakeWmpRegistration {
  public:
    explicit CFakeWmpRegistration(const std::string& dllPath = fakewmp::FakeWmpDllPath())
        : m_bActive(m_lock.Owned() && fakewmp::RegisterFakeWmp(dllPath)) {}
    CFakeWmpRegistration(const CFakeWmpRegistration&) = delete;
    CFakeWmpRegistration& operator=(const CFakeWmpRegistration&) = delete;
    ~CFakeWmpRegistration() {
        if (m_lock.Owned())
            fakewmp::RestoreWineWmp();
    }
    bool Active() const { return m_bActive; }

  private:
    fakewmp::ClassLock m_lock;
    bool m_bActive;
};

// While it lives, the player control's CLSID is Wine's own control.
class CWineWmpRegistration {
  public:
    CWineWmpRegistration() {
        if (m_lock.Owned())
            fakewmp::RestoreWineWmp();
    }
    bool Active() const { return m_lock.Owned(); }

  private:
    fakewmp::ClassLock m_lock;
};
