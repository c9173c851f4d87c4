// The benchmark driver. It runs Trackglow (a private copy of the dist
// folder, as the end-to-end tests do) beside a fake Winamp and the baseline
// program, and prints one "name value" line per measurement for
// tools/bench.sh, which adds the CPU times it reads from /proc on the Linux
// side and writes the table.
//
//   bench-driver.exe <baseline.exe> <sync folder>
//
// Phases, in order:
//   start-up        each program started and ended five times (after one
//                   unmeasured start each);
//   idle            both left running beside a fake Winamp whose title does
//                   not change (Trackglow has hooked its title changes); the
//                   driver prints "idle.ready" and waits for the script to
//                   create <sync folder>\idle.done;
//   renaming        the same, while the fake renames itself every 100 ms, each
//                   time announcing it three times, with titles that bring
//                   no pop-up ("renaming.ready", "renaming.done");
//   responsiveness  20 title changes announced by the fake, then 20 it keeps
//                   silent (left to the poll), each timed to the pop-up's
//                   first move;
//   memory          after the start, after 200 title changes and after 200
//                   skin reloads through the Preferences dialog.
// Nothing here is a pass or fail: results are reported, never asserted.
#include "PopupWatch.h"
#include "PreferencesDriver.h"
#include "ProcessMemory.h"
#include "Statistics.h"

#include "support/E2e.h"

#include <cstdio>
#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace e2e;
using namespace bench;

namespace {

constexpr char kBaselineClass[] = "TrackglowBenchBaseline";
// Trackglow watching Winamp only, as the baseline does.
constexpr char kSettings[] =
    "[PREFERENCES]\r\nskin=Default Skin 1\r\nenwinamp=1\r\nenwmp=0\r\n\r\n";
constexpr int kStartRuns = 5;
constexpr int kResponseChanges = 20;
constexpr DWORD kRenameEveryMs = 100;
constexpr int kAnnouncementsPerRename = 3;
constexpr int kTrackChanges = 200;
constexpr DWORD kTrackChangeEveryMs = 350; // longer than the program's 300 ms poll
constexpr int kWarmUpSkinReloads = 20;
constexpr int kSkinReloads = 200;
constexpr DWORD kSettleMs = 60000;

void Report(const std::string& name, double value) {
    std::printf("%s %.3f\n", name.c_str(), value);
    std::fflush(stdout);
}

void Report(const std::string& name, const MemorySample& sample) {
    Report(name + ".pagefile_kb", static_cast<double>(sample.pagefileBytes) / 1024.0);
    Report(name + ".workingset_kb", static_cast<double>(sample.workingSetBytes) / 1024.0);
    Report(name + ".gdi_objects", sample.gdiObjects);
}

// Progress on stderr, with the seconds since the driver started.
void Note(const std::string& text) {
    static const Stopwatch sinceStart;
    std::fprintf(stderr, "bench: %5.1f s %s\n", sinceStart.ElapsedMs() / 1000, text.c_str());
}

// --- Processes ---------------------------------------------------------------

// The baseline program, ended (WM_CLOSE, or killed) when the object goes.
class BaselineProcess {
  public:
    explicit BaselineProcess(const std::string& exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created = {};
        std::string commandLine = "\"" + exe + "\"";
        // Wine now and then refuses a start with ERROR_INTERNAL_ERROR when
        // processes come and go quickly; such a start is tried again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &created)) {
                CloseHandle(created.hThread);
                m_process.Reset(created.hProcess);
                m_processId = created.dwProcessId;
                return;
            }
            if (GetLastError() != ERROR_INTERNAL_ERROR)
                break;
            PumpFor(500);
        }
        throw std::runtime_error("cannot start " + exe);
    }
    ~BaselineProcess() {
        if (m_window)
            PostMessageA(m_window, WM_CLOSE, 0, 0);
        if (!WaitForObject(m_process.Get(), 5000)) {
            TerminateProcess(m_process.Get(), 1);
            WaitForSingleObject(m_process.Get(), kGenerousMs);
        }
    }
    BaselineProcess(const BaselineProcess&) = delete;
    BaselineProcess& operator=(const BaselineProcess&) = delete;

    // Waits (sampling about every millisecond) for the baseline's window.
    HWND WaitForWindow() {
        WaitUntil(
            [&] {
                HWND window = FindWindowExA(nullptr, nullptr, kBaselineClass, nullptr);
                for (; window; window = FindWindowExA(nullptr, window, kBaselineClass, nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == m_processId) {
                        m_window = window;
                        return true;
                    }
                }
                return false;
            },
            kGenerousMs, 1);
        return m_window;
    }

  private:
    UniqueHandle m_process;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
};

struct FindContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM context) {
    auto* wanted = reinterpret_cast<FindContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    if (owner == wanted->processId && IsWindowVisible(window) &&
        GetClassNameA(window, className, sizeof className) && std::string(className) == "#32770") {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

// Trackglow's main window is present once its dialog is visible.
bool WaitForVisibleDialog(DWORD processId) {
    FindContext context{processId, nullptr};
    return WaitUntil(
        [&] {
            EnumWindows(&FindVisibleDialog, reinterpret_cast<LPARAM>(&context));
            return context.found != nullptr;
        },
        kGenerousMs, 1);
}

bool ExitProgram(RunningProgram& program, double* exitCode = nullptr) {
    program.PostCommand(kCommandExit);
    const std::optional<DWORD> code = program.WaitForExit();
    if (exitCode && code)
        *exitCode = *code;
    return code.has_value();
}

// --- Phases ------------------------------------------------------------------

void MeasureStartUp(const std::string& baselineExe) {
    std::vector<double> trackglow, baseline;
    for (int run = 0; run <= kStartRuns; ++run) {
        {
            Stopwatch clock;
            BaselineProcess process(baselineExe);
            if (process.WaitForWindow() && run > 0)
                baseline.push_back(clock.ElapsedMs());
        }
        {
            TestInstall install(kSettings);
            Stopwatch clock;
            RunningProgram program(install);
            if (WaitForVisibleDialog(program.ProcessId()) && run > 0)
                trackglow.push_back(clock.ElapsedMs());
            program.WaitForMainWindow();
            ExitProgram(program);
        }
    }
    Report("startup.baseline_ms", Median(baseline));
    Report("startup.trackglow_ms", Median(trackglow));
}

std::string SongTitle(int number) {
    return std::to_string(number % 99 + 1) + ". Bench Artist " + std::to_string(number) +
           " - Song " + std::to_string(number) + " - Winamp";
}

// Prints "<phase>.ready" for the script, which measures the CPU times, and
// calls `meanwhile` until the script creates <sync folder>\<phase>.done.
void HoldPhase(const std::string& phase, const std::string& syncFolder,
               const std::function<void()>& meanwhile) {
    std::printf("%s.ready\n", phase.c_str());
    std::fflush(stdout);
    const std::string done = JoinPath(syncFolder, phase + ".done");
    const ULONGLONG end = GetTickCount64() + 300000;
    while (!FileExists(done) && GetTickCount64() < end)
        meanwhile();
    if (!FileExists(done))
        Note("no " + phase + ".done from the script; going on");
}

// The fake renames itself every 100 ms and announces each new title three
// times; none of the titles is a new playing track (the song stays, only
// paused and playing again), so each burst costs Trackglow a poll and nothing
// more.
void RenameUntilDone(FakeWinamp& winamp, int song, const std::string& syncFolder) {
    int renames = 0;
    HoldPhase("renaming", syncFolder, [&] {
        winamp.SetTitle(SongTitle(song) + (renames++ % 2 ? "" : " [Paused]"));
        for (int extra = 1; extra < kAnnouncementsPerRename; ++extra)
            winamp.AnnounceRename();
        PumpFor(kRenameEveryMs);
    });
    winamp.SetTitle(SongTitle(song));
    Report("renaming.renames", renames);
    Report("renaming.announcements", renames * kAnnouncementsPerRename);
}

void MeasureResponsiveness(const std::string& name, HWND popup, FakeWinamp& winamp, int& song) {
    std::vector<double> latencies;
    int missed = 0;
    unsigned random = 12345;
    for (int change = 0; change < kResponseChanges; ++change) {
        WaitUntilStill(popup, 300, kSettleMs);
        // A pseudo-random pause, so the changes fall anywhere in the poll period.
        random = random * 1103515245u + 12345u;
        PumpFor((random >> 16) % 300);

        const Box before = WindowBox(popup);
        LARGE_INTEGER since;
        QueryPerformanceCounter(&since);
        winamp.SetTitle(SongTitle(++song));
        if (const std::optional<double> ms = WaitForFirstMove(popup, before, since, 5000))
            latencies.push_back(*ms);
        else
            ++missed;
    }
    Report(name + ".median_ms", Median(latencies));
    Report(name + ".p95_ms", Percentile(latencies, 95));
    Report(name + ".max_ms", Percentile(latencies, 100));
    Report(name + ".missed", missed);
}

void ChangeTracks(FakeWinamp& winamp, int& song) {
    for (int change = 0; change < kTrackChanges; ++change) {
        winamp.SetTitle(SongTitle(++song));
        PumpFor(kTrackChangeEveryMs);
    }
}

// Reloads skins until `reloaded` reaches `until`; each differs from the one
// before it, so every OK loads a skin.
void ReloadSkins(const RunningProgram& program, int& reloaded, int until) {
    const char* const skins[] = {"Aurora", "Paper", "Default Skin 1"};
    for (int attempt = reloaded; attempt < until; ++attempt) {
        if (ChooseSkinInPreferences(program, skins[attempt % 3]))
            ++reloaded;
    }
}

int Run(const std::string& baselineExe, const std::string& syncFolder) {
    Note("start-up");
    MeasureStartUp(baselineExe);

    Note("idle");
    FakeWinamp winamp(SongTitle(0));
    TestInstall install(kSettings);
    RunningProgram program(install);
    HWND popup = program.WaitForMainWindow();
    if (!popup)
        throw std::runtime_error("Trackglow did not start");
    int song = 0;
    {
        BaselineProcess baseline(baselineExe);
        baseline.WaitForWindow();
        // The first track's pop-up comes and goes; then nothing changes.
        WaitUntil([&] { return WindowBox(popup).x == 64; }, kSettleMs);
        WaitUntilHidden(popup, kSettleMs);
        Note("idle: the first track's pop-up has come and gone");
        Report("memory.start", SampleMemory(program.Process()));
        HoldPhase("idle", syncFolder, [] { PumpFor(250); });
        Report("memory.idle", SampleMemory(program.Process()));
        Note("renaming every " + std::to_string(kRenameEveryMs) + " ms");
        RenameUntilDone(winamp, song, syncFolder);
    }

    Note("responsiveness, announced");
    MeasureResponsiveness("response", popup, winamp, song);
    Note("responsiveness, poll only");
    winamp.SetRenames(Renames::Silent);
    MeasureResponsiveness("response_poll", popup, winamp, song);
    winamp.SetRenames(Renames::Announced);

    Note("track changes");
    ChangeTracks(winamp, song);
    WaitUntilHidden(popup, kSettleMs);
    Report("memory.tracks", SampleMemory(program.Process()));

    // The process allocates once for its first Preferences dialog and keeps
    // it; what grows after the first reloads is what a reload leaks.
    Note("skin reloads");
    Stopwatch clock;
    int reloaded = 0;
    ReloadSkins(program, reloaded, kWarmUpSkinReloads);
    WaitUntilHidden(popup, kSettleMs);
    Report("memory.skins_warm", SampleMemory(program.Process()));
    ReloadSkins(program, reloaded, kSkinReloads);
    Report("skins.reloaded", reloaded);
    Report("skins.cycle_ms", clock.ElapsedMs() / std::max(reloaded, 1));
    WaitUntilHidden(popup, kSettleMs);
    Report("memory.skins", SampleMemory(program.Process()));

    double exitCode = -1;
    ExitProgram(program, &exitCode);
    Report("exit.code", exitCode);
    Note("done");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-driver <baseline.exe> <sync folder>\n");
        return 2;
    }
    try {
        return Run(ToWindowsPath(argv[1]), ToWindowsPath(argv[2]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench: %s\n", error.what());
        return 1;
    }
}
