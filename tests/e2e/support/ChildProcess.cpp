#include "support/ChildProcess.h"

#include <stdexcept>

namespace e2e {

ChildProcess::ChildProcess(std::string commandLine, const std::string& currentFolder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    // Wine now and then refuses a process start with ERROR_INTERNAL_ERROR
    // when processes come and go quickly; such a start is tried again.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           currentFolder.c_str(), &startup, &created)) {
            CloseHandle(created.hThread);
            m_process.Reset(created.hProcess);
            m_processId = created.dwProcessId;
            return;
        }
        error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR) {
            break;
        }
        PumpFor(500);
    }
    throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(error) +
                             ")");
}

ChildProcess::~ChildProcess() {
    if (IsRunning()) {
        Kill();
    }
}

bool ChildProcess::IsRunning() const {
    return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!WaitForObject(m_process.Get(), timeoutMs)) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

void ChildProcess::Kill() {
    TerminateProcess(m_process.Get(), 0xDEAD);
    WaitForSingleObject(m_process.Get(), kGenerousMs);
}

} // namespace e2e
