// A process the driver starts, ended at the latest with the object: the
// destructor kills it if it still runs, so a failing test never leaves a
// process behind.
#pragma once

#include "support/Handles.h"
#include "support/Wait.h"

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class ChildProcess {
  public:
    // Runs `commandLine` (the program's path quoted, then its arguments) with
    // `currentFolder` as its current folder. Throws when the process cannot
    // be created.
    ChildProcess(std::string commandLine, const std::string& currentFolder);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD ProcessId() const { return m_processId; }
    HANDLE Handle() const { return m_process.Get(); }
    bool IsRunning() const;

    // Waits for the process to end (dispatching the driver's messages) and
    // returns its exit code, or nothing if it still runs after the time.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kGenerousMs);
    // Ends the process at once and waits for it.
    void Kill();

  private:
    UniqueHandle m_process;
    DWORD m_processId = 0;
};

} // namespace e2e
