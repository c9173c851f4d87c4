// Whatever a user's machine presents, the running program neither crashes
// nor hangs nor loses its settings file, and afterwards the pop-up still
// comes in and shows what it should: hostile settings files, broken skins,
// players with over-long or unconvertible texts, floods of title changes,
// Exit in the middle of every animation, two instances side by side, and
// faults of the platform (no file can be made beside the program, the
// temporary file of a save is refused, a skin bitmap truncated on disk, the
// media player control failing every call).
//
// "Shows what it should" is checked on the screen: the pop-up rests at
// (64, 32) with the width its text needs, and every pixel of its face left
// of the button column equals the same skin and text drawn here.
//
// The poll timer is ticked by the driver where a test needs many polls (a
// WM_TIMER with the poll timer's identifier, which the program cannot tell
// from its own).
#include "support/BitmapFile.h"
#include "support/CleanExit.h"
#include "support/E2e.h"
#include "support/Handles.h"
#include "support/MediaPlayerWindow.h"
#include "support/Mouse.h"
#include "support/PopupPlace.h"
#include "support/ScreenTurn.h"
#include "support/SkinList.h"
#include "support/TestBytes.h"

#include "core/PopupLayout.h"
#include "tests/fakes/fakewmp/FakeWmpDriver.h"
#include "tests/fakes/fakewmp/FakeWmpRegistration.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

using namespace e2e;

namespace {

[[maybe_unused]] testing::Environment* const kScreenTurn =
    testing::AddGlobalTestEnvironment(new ScreenTurn);

constexpr UINT_PTR kPollTimer = 0;
constexpr char kPreferencesTitle[] = "Preferences";
constexpr char kMediaPlayerLine[] = "Windows Media Player"; // the last line of its tracks
constexpr long kPlaying = 3;

// How the program draws the track text.
constexpr UINT kTrackFlags = DT_NOPREFIX | DT_NOCLIP;

// ---------------------------------------------------------------------------
// Skins

// How a skin looks: its tile bitmap file and its colours.
struct SkinLook {
    std::string tileFile;
    Rgb text;
    Rgb border;
    // The skin's font= and fontsize=; no face: the system font.
    std::string fontFace;
    int fontPoints = 0;
};

// The tests' own skin, with one flat tile; "Flat Copy" is the same skin
// under another name, so that choosing it reloads the bitmap.
const Rgb kTile{24, 40, 96};
const Rgb kText{255, 230, 0}; // "text=0000E6FF"
const Rgb kBorder{0, 255, 0}; // "border=0000FF00"
const Rgb kBlack{0, 0, 0};
const std::string kFlatDefinition =
    "[SKIN]\r\nimage=flat.bmp\r\nbgtype=0\r\ntext=0000E6FF\r\nborder=0000FF00\r\n";

void AddFlatSkins(const TestInstall& install) {
    const std::string folder = install.SkinFolder();
    WriteFileBytes(JoinPath(folder, "flat.bmp"),
                   testbitmap::SolidBitmapFile(45, 64, {kTile.r, kTile.g, kTile.b}));
    WriteFileBytes(JoinPath(folder, "Flat.ini"), kFlatDefinition);
    WriteFileBytes(JoinPath(folder, "Flat Copy.ini"), kFlatDefinition);
}

SkinLook FlatLook(const TestInstall& install) {
    return SkinLook{JoinPath(install.SkinFolder(), "flat.bmp"), kText, kBorder, "", 0};
}

// The shipped default skin, as its definition file describes it.
SkinLook DefaultLook(const TestInstall& install) {
    const std::string definition =
        ReadFileBytes(JoinPath(install.SkinFolder(), "Default Skin 1.ini")).value_or("");
    auto value = [&](const std::string& key) {
        const size_t at = definition.find("\n" + key + "=");
        if (at == std::string::npos) {
            return std::string();
        }
        const size_t start = at + key.size() + 2;
        return definition.substr(start, definition.find_first_of("\r\n", start) - start);
    };
    auto colour = [&](const std::string& key) {
        return FromColorRef(static_cast<COLORREF>(std::stoul(value(key), nullptr, 16)));
    };
    return SkinLook{JoinPath(install.SkinFolder(), value("image")), colour("text"),
                    colour("border"), value("font"), std::atoi(value("fontsize").c_str())};
}

const std::string kFlatWinamp = "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=0\r\n";

// ---------------------------------------------------------------------------
// The pop-up's face

// The skin's font, made here; none for the system font.
class LookFont {
  public:
    explicit LookFont(const SkinLook& look) {
        if (look.fontFace.empty()) {
            return;
        }
        ScreenDc screen;
        const int height = -MulDiv(look.fontPoints, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
        const std::wstring face(look.fontFace.begin(), look.fontFace.end()); // ASCII
        m_font.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    }
    HGDIOBJ Get() const { return m_font.get(); }

  private:
    struct Deleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    std::unique_ptr<std::remove_pointer_t<HFONT>, Deleter> m_font;
};

int PopupWidth(const std::string& text, const SkinLook& look = SkinLook{}) {
    const LookFont font(look);
    ScreenDc screen;
    HGDIOBJ previous = font.Get() ? SelectObject(screen.Get(), font.Get()) : nullptr;
    RECT measured{0, 0, 0, 0};
    DrawTextA(screen.Get(), text.c_str(), -1, &measured, DT_CALCRECT | kTrackFlags);
    if (previous) {
        SelectObject(screen.Get(), previous);
    }
    return ComputePopupLayout(measured.right - measured.left).layout.Width();
}

Box Rest(const std::string& text, const SkinLook& look = SkinLook{}) {
    return PopupAtRest(PopupWidth(text, look));
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

// The part of the pop-up at rest that is on the screen (a pop-up may be
// wider than the screen).
int VisibleWidth(int width) {
    return std::min(width, ScreenWidth() - kPopupAtRest.x);
}

// Whether the pop-up is the window the user sees at its resting place
// (another program's window may cover it for a moment).
bool PopupOnTop(HWND main, int width) {
    const int right = kPopupAtRest.x + VisibleWidth(width) - 2;
    const POINT corners[] = {{kPopupAtRest.x + 1, kPopupAtRest.y + 1},
                             {right, kPopupAtRest.y + 1},
                             {kPopupAtRest.x + 1, kPopupAtRest.y + kPopupAtRest.height - 2},
                             {right, kPopupAtRest.y + kPopupAtRest.height - 2}};
    return std::all_of(std::begin(corners), std::end(corners),
                       [&](const POINT& corner) { return WindowFromPoint(corner) == main; });
}

// The face the pop-up should show, drawn here the way the program draws it:
// the frame, the tile repeated, the track text from (10, 9).
class ExpectedFace {
  public:
    ExpectedFace(int width, const std::string& text, const SkinLook& look)
        : m_width(width), m_pixels(static_cast<size_t>(width) * kPopupAtRest.height) {
        ScreenDc screen;
        MemoryDc memory(screen.Get());
        MemoryDc tiles(screen.Get());
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -kPopupAtRest.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        GdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        GdiObject tile(
            LoadImageA(nullptr, look.tileFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (bitmap.Get() == nullptr || bits == nullptr || tile.Get() == nullptr) {
            return;
        }
        {
            SelectGuard select(memory.Get(), bitmap.Get());
            SelectGuard selectTile(tiles.Get(), tile.Get());
            GdiObject border(CreateSolidBrush(RGB(look.border.r, look.border.g, look.border.b)));
            RECT all{0, 0, width, kPopupAtRest.height};
            FrameRect(memory.Get(), &all, static_cast<HBRUSH>(border.Get()));
            for (int x = 1; x + kTileWidth <= width - 1; x += kTileWidth) {
                BitBlt(memory.Get(), x, 1, kTileWidth, kTileHeight, tiles.Get(), 0, 0, SRCCOPY);
            }
            SetBkMode(memory.Get(), TRANSPARENT);
            SetTextColor(memory.Get(), RGB(look.text.r, look.text.g, look.text.b));
            const LookFont font(look);
            HGDIOBJ previous = font.Get() ? SelectObject(memory.Get(), font.Get()) : nullptr;
            RECT textRect{10, 9, width - 10, kPopupAtRest.height - 9};
            DrawTextA(memory.Get(), text.c_str(), -1, &textRect, kTrackFlags);
            if (previous) {
                SelectObject(memory.Get(), previous);
            }
            GdiFlush();
        }
        const auto* bgrx = static_cast<const uint8_t*>(bits);
        for (size_t i = 0; i < m_pixels.size(); ++i) {
            m_pixels[i] = Rgb{bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]};
        }
        m_valid = true;
    }

    bool Valid() const { return m_valid; }

    // Pixels on the screen that differ, left of the button column (the
    // frame's left, top and bottom edges included) and the right edge when
    // it is on the screen.
    int Mismatches(const ScreenCapture& capture) const {
        int count = 0;
        const int visible = VisibleWidth(m_width);
        for (int y = 0; y < kPopupAtRest.height; ++y) {
            for (int x = 0; x < std::min(m_width - 20, visible); ++x) {
                count += capture.At(kPopupAtRest.x + x, kPopupAtRest.y + y) != At(x, y) ? 1 : 0;
            }
            if (visible == m_width) {
                count += capture.At(kPopupAtRest.x + m_width - 1, kPopupAtRest.y + y) !=
                         At(m_width - 1, y);
            }
        }
        return count;
    }

  private:
    Rgb At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

    int m_width;
    std::vector<Rgb> m_pixels;
    bool m_valid = false;
};

// Waits (generously: repaints and other windows come and go) until the
// pop-up rests where `text` puts it and shows exactly that text in the skin.
testing::AssertionResult ShowsPopup(HWND main, const std::string& text, const SkinLook& look,
                                    const std::string& artifact) {
    const Box rest = Rest(text, look);
    const ExpectedFace expected(rest.width, text, look);
    if (!expected.Valid()) {
        return testing::AssertionFailure()
               << "cannot draw the expected face from " << look.tileFile;
    }
    int mismatches = -1;
    const bool shown = WaitUntil(
        [&] {
            if (WindowBox(main) != rest || !PopupOnTop(main, rest.width)) {
                return false;
            }
            const ScreenCapture capture(RECT{kPopupAtRest.x, kPopupAtRest.y,
                                             kPopupAtRest.x + rest.width,
                                             kPopupAtRest.y + kPopupAtRest.height});
            mismatches = expected.Mismatches(capture);
            return mismatches == 0 && PopupOnTop(main, rest.width);
        },
        kGenerousMs, 50);
    if (shown) {
        return testing::AssertionSuccess();
    }
    SaveScreenshot(artifact, RECT{0, 0, ScreenWidth(), kPopupAtRest.y + kPopupAtRest.height + 16});
    return testing::AssertionFailure()
           << "the pop-up (" << WindowBox(main) << ", at rest " << rest << ") does not show \""
           << text.substr(0, 80) << "\": " << mismatches
           << " pixels differ (-1: never on top at rest); see " << artifact << ".png";
}

// The pop-up at rest for `text` in a skin whose tiles did not load: only
// the frame can be told; its colour at the four corners.
testing::AssertionResult RestsFramed(HWND main, const std::string& text, const Rgb& border) {
    const Box rest = Rest(text);
    const int right = kPopupAtRest.x + VisibleWidth(rest.width) - 1;
    Rgb seen[4];
    const bool framed = WaitUntil(
        [&] {
            if (WindowBox(main) != rest || !PopupOnTop(main, rest.width)) {
                return false;
            }
            seen[0] = ScreenPixel(kPopupAtRest.x, kPopupAtRest.y);
            seen[1] = ScreenPixel(right, kPopupAtRest.y);
            seen[2] = ScreenPixel(kPopupAtRest.x, kPopupAtRest.y + kPopupAtRest.height - 1);
            seen[3] = ScreenPixel(right, kPopupAtRest.y + kPopupAtRest.height - 1);
            return std::all_of(std::begin(seen), std::end(seen),
                               [&](const Rgb& c) { return c == border; });
        },
        kGenerousMs, 50);
    if (framed) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "the pop-up (" << WindowBox(main) << ", at rest " << rest << ") is not framed in "
           << border << ": " << seen[0] << seen[1] << seen[2] << seen[3];
}

// ---------------------------------------------------------------------------
// Driving the program

// Starts the program of an install and waits for its main window, with
// Wine's tray window off the pop-up's resting place and the cursor away.
HWND Start(std::optional<RunningProgram>& program, const TestInstall& install) {
    program.emplace(install);
    HWND main = program->WaitForMainWindow();
    WaitUntil(MoveWineSystemTrayAway, 3000);
    ParkCursor();
    return main;
}

// Delivers a tick of the poll timer now and waits until it has been handled.
void TickPoll(HWND main) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_TIMER, kPollTimer, 0, SMTO_NORMAL, kGenerousMs, &result);
}

// Hides the pop-up with the toggle (ignored until a running animation has
// ended, so asked again until the collapse starts) and waits for the sliver.
testing::AssertionResult HideNow(const RunningProgram& program) {
    HWND main = program.MainWindow();
    const bool started = WaitUntil(
        [&] {
            if (WindowBox(main).height < kPopupAtRest.height) {
                return true;
            }
            program.PostCommand(kCommandToggle);
            return false;
        },
        kGenerousMs, 100);
    if (!started || !WaitUntil([&] { return IsSliver(WindowBox(main)); })) {
        return testing::AssertionFailure() << "the pop-up did not hide: " << WindowBox(main);
    }
    return testing::AssertionSuccess();
}

// Opens Preferences, chooses `skin` in its list as the user would and
// presses OK. False when the dialog did not open, list or close.
testing::AssertionResult ChooseSkinWithPreferences(const RunningProgram& program,
                                                   const std::string& skin) {
    program.PostCommand(kCommandPreferences);
    HWND dialog = program.WaitForDialog(kPreferencesTitle);
    if (dialog == nullptr) {
        return testing::AssertionFailure() << "Preferences did not open";
    }
    if (!ChooseSkin(dialog, skin)) {
        return testing::AssertionFailure() << skin << " is not listed";
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    if (!WaitUntil([&] { return !IsWindow(dialog); })) {
        return testing::AssertionFailure() << "Preferences did not close";
    }
    return testing::AssertionSuccess();
}

// Visible windows of the program besides the pop-up: a message box would
// be one.
std::vector<std::string> OtherVisibleWindows(const RunningProgram& program) {
    std::vector<std::string> others;
    for (const WindowInfo& info : program.Windows()) {
        if (info.visible && info.window != program.MainWindow()) {
            others.push_back(info.className + " \"" + info.title + "\"");
        }
    }
    return others;
}

// Whether the host's "AtlAxWin7" window holds a window of the control: the
// control was made and embedded.
bool HoldsAControlWindow(HWND host) {
    HWND hosting = FindWindowExA(host, nullptr, "AtlAxWin7", nullptr);
    return hosting != nullptr && FindWindowExA(hosting, nullptr, nullptr, nullptr) != nullptr;
}

// ---------------------------------------------------------------------------
// Refusing the program's threads

// Reads a value of the program's memory.
template <class T> bool ReadRemote(HANDLE process, uint64_t address, T& value) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value,
                             &read) &&
           read == sizeof value;
}

std::string ReadRemoteName(HANDLE process, uint64_t address) {
    char name[64] = {};
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<const void*>(address), name, sizeof name - 1,
                      &read);
    return name;
}

// Where the running program keeps the address it calls for `function` of
// `dll`: the slot of its import address table, found from its PEB and its
// executable's import directory. 0 when there is none.
uint64_t RemoteImportSlot(HANDLE process, const char* dll, const char* function) {
    using QueryProcessFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return 0;
    }
    constexpr uint64_t kPebImageBase = 0x10;
    uint64_t base = 0;
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS64 nt{};
    if (!ReadRemote(process, reinterpret_cast<uint64_t>(basic.PebBaseAddress) + kPebImageBase,
                    base) ||
        !ReadRemote(process, base, dos) || !ReadRemote(process, base + dos.e_lfanew, nt)) {
        return 0;
    }
    const uint64_t imports =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    IMAGE_IMPORT_DESCRIPTOR module{};
    for (uint64_t at = base + imports;
         imports != 0 && ReadRemote(process, at, module) && module.Name != 0; at += sizeof module) {
        if (lstrcmpiA(ReadRemoteName(process, base + module.Name).c_str(), dll) != 0) {
            continue;
        }
        const uint64_t names =
            base + (module.OriginalFirstThunk ? module.OriginalFirstThunk : module.FirstThunk);
        uint64_t thunk = 0;
        for (uint64_t i = 0; ReadRemote(process, names + 8 * i, thunk) && thunk != 0; ++i) {
            const bool byName = (thunk & IMAGE_ORDINAL_FLAG64) == 0;
            if (byName && ReadRemoteName(process, base + thunk + 2) == function) {
                return base + module.FirstThunk + 8 * i;
            }
        }
    }
    return 0;
}

bool WriteRemoteSlot(HANDLE process, uint64_t slot, uint64_t value) {
    void* at = reinterpret_cast<void*>(slot);
    DWORD protection = 0;
    if (!VirtualProtectEx(process, at, sizeof value, PAGE_READWRITE, &protection)) {
        return false;
    }
    SIZE_T written = 0;
    const bool ok =
        WriteProcessMemory(process, at, &value, sizeof value, &written) && written == sizeof value;
    VirtualProtectEx(process, at, sizeof value, protection, &protection);
    return ok;
}

// While it lives, the running program's own calls to kernel32's CreateThread
// fail: its import of the function points at three bytes of code written
// into it, "xor eax, eax; ret", which return no thread. (That code stays
// when the import is put back: a call may still be on its way through it.)
class RefusedThreadsInProgram {
  public:
    explicit RefusedThreadsInProgram(HANDLE process)
        : m_process(process), m_slot(RemoteImportSlot(process, "kernel32.dll", "CreateThread")) {
        static const unsigned char kReturnNull[] = {0x31, 0xC0, 0xC3};
        void* code = m_slot ? VirtualAllocEx(process, nullptr, sizeof kReturnNull,
                                             MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE)
                            : nullptr;
        SIZE_T written = 0;
        m_active = code != nullptr && ReadRemote(process, m_slot, m_original) &&
                   WriteProcessMemory(process, code, kReturnNull, sizeof kReturnNull, &written) &&
                   FlushInstructionCache(process, code, sizeof kReturnNull) &&
                   WriteRemoteSlot(process, m_slot, reinterpret_cast<uint64_t>(code));
    }
    ~RefusedThreadsInProgram() {
        if (m_active) {
            WriteRemoteSlot(m_process, m_slot, m_original);
        }
    }
    RefusedThreadsInProgram(const RefusedThreadsInProgram&) = delete;
    RefusedThreadsInProgram& operator=(const RefusedThreadsInProgram&) = delete;

    bool Active() const { return m_active; }

  private:
    HANDLE m_process;
    uint64_t m_slot;
    uint64_t m_original = 0;
    bool m_active = false;
};

// ---------------------------------------------------------------------------
// Texts as the program sees them

// UTF-16 text in this driver's ANSI code page, to draw as the program does
// (characters the code page lacks come out as "?").
std::string ToAnsi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// The longest start of valid UTF-8 text that fits `maxBytes` and ends
// between characters.
std::string Utf8Prefix(const std::string& utf8, size_t maxBytes) {
    size_t end = std::min(maxBytes, utf8.size());
    while (end > 0 && end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    return utf8.substr(0, end);
}

} // namespace

// ---------------------------------------------------------------------------
// Settings files

struct HostileSettings {
    const char* name;
    std::string bytes;
    bool namesFlatAndWinamp; // the PREFERENCES of kFlatWinamp survive in it
};

void PrintTo(const HostileSettings& settings, std::ostream* out) {
    *out << settings.name;
}

class BadSettings : public testing::TestWithParam<HostileSettings> {};

TEST_P(BadSettings, ThePopupStillShowsCorrectly) {
    const HostileSettings& settings = GetParam();
    TestInstall install(settings.bytes);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr) << "start-up did not finish";
    EXPECT_EQ(OtherVisibleWindows(*program), std::vector<std::string>{}) << "no message";

    if (settings.namesFlatAndWinamp) {
        // What followed or surrounded the garbage still counts: the skin and
        // the Winamp switch.
        FakeWinamp winamp("4. Still Here - After The Garbage - Winamp");
        EXPECT_TRUE(ShowsPopup(main, "Still Here\nAfter The Garbage\nWinamp", FlatLook(install),
                               std::string("bad-settings-") + settings.name));
        ExitCleanly(*program);
        EXPECT_EQ(install.ReadSettings(), settings.bytes) << "nothing was to be saved";
    } else {
        // Nothing readable: the default skin and no player; the toggle
        // shows the empty pop-up.
        program->PostCommand(kCommandToggle);
        EXPECT_TRUE(ShowsPopup(main, "", DefaultLook(install),
                               std::string("bad-settings-") + settings.name));
        ExitCleanly(*program);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadSettings,
    testing::Values(
        HostileSettings{"RandomBytes2MB", testbytes::RandomBytes(2 * 1024 * 1024, 20240601), false},
        HostileSettings{"RandomBytes2MBAfterTheSettings",
                        kFlatWinamp + testbytes::RandomBytes(2 * 1024 * 1024, 7), true},
        HostileSettings{"Line100KBWithoutLineEnd",
                        kFlatWinamp + "notes=" + std::string(100 * 1024, 'x'), true},
        HostileSettings{"HeaderOf100KBBeforeTheSettings",
                        "[" + std::string(100 * 1024, 'P') + "]\r\n" + kFlatWinamp, true},
        HostileSettings{
            "NulBytes",
            testbytes::Bytes("\0\0\0\r\n[PREFERENCES]\r\nskin=Flat\r\n\0\0\0\r\nenwinamp=1\0off"
                             "\r\nsk\0in=Nowhere\r\nenwmp=0\r\n\0"),
            true}),
    [](const testing::TestParamInfo<HostileSettings>& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// Skins

struct BrokenSkin {
    const char* name;
    std::string definition; // the skin's .ini; none when empty
    Rgb border;
};

void PrintTo(const BrokenSkin& skin, std::ostream* out) {
    *out << skin.name;
}

class BadSkins : public testing::TestWithParam<BrokenSkin> {};

TEST_P(BadSkins, ThePopupComesInAndAGoodSkinShowsAfterwards) {
    const BrokenSkin& skin = GetParam();
    TestInstall install("[PREFERENCES]\r\nskin=Broken\r\nenwinamp=1\r\nenwmp=0\r\n");
    AddFlatSkins(install);
    const std::string definitionFile = JoinPath(install.SkinFolder(), "Broken.ini");
    if (!skin.definition.empty()) {
        WriteFileBytes(definitionFile, skin.definition);
    }
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(OtherVisibleWindows(*program), std::vector<std::string>{});

    FakeWinamp winamp("1. Skinless - Still Laid Out - Winamp");
    const std::string text = "Skinless\nStill Laid Out\nWinamp";
    EXPECT_TRUE(RestsFramed(main, text, skin.border));
    EXPECT_TRUE(FileExists(definitionFile)) << "a missing definition is created, empty";

    ASSERT_TRUE(ChooseSkinWithPreferences(*program, "Flat"));
    EXPECT_TRUE(
        ShowsPopup(main, text, FlatLook(install), std::string("bad-skin-then-flat-") + skin.name));
    ExitCleanly(*program);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, BadSkins,
    testing::Values(BrokenSkin{"RandomBytes", testbytes::RandomBytes(64 * 1024, 11), kBlack},
                    BrokenSkin{"NulBytesAndNoLineEnds",
                               testbytes::Bytes("[SKIN]\0\0image=flat.bmp\0border=0000FF00") +
                                   std::string(5000, '\0'),
                               kBlack},
                    BrokenSkin{"Garbage",
                               "[SKIN\r\n]]]\r\n=\r\nimage\r\n[SKIN]\r\nimage=\\\\?\\::\r\n"
                               "bgtype=-1\r\n"
                               "imagel=" +
                                   std::string(3000, '/') +
                                   "\r\nimager=CON\r\nicons=NUL\\\r\n"
                                   "border=0000FF00\r\ntext=zz\r\n",
                               kBorder},
                    BrokenSkin{"NoDefinitionFile", "", kBlack}),
    [](const testing::TestParamInfo<BrokenSkin>& param) { return param.param.name; });

TEST(BadSkinFiles, ASkinBitmapTruncatedOnDiskWhileRunning) {
    TestInstall install(kFlatWinamp);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp("2. Before - The Damage - Winamp");
    const std::string text = "Before\nThe Damage\nWinamp";
    ASSERT_TRUE(ShowsPopup(main, text, FlatLook(install), "truncated-before"));

    // The tile is cut short on disk; the same skin under another name loads it.
    const std::string tileFile = JoinPath(install.SkinFolder(), "flat.bmp");
    const std::string good = *ReadFileBytes(tileFile);
    for (size_t size : {good.size() / 2, size_t{54}, size_t{20}}) {
        SCOPED_TRACE("truncated to " + std::to_string(size) + " bytes");
        WriteFileBytes(tileFile, good.substr(0, size));
        ASSERT_TRUE(ChooseSkinWithPreferences(*program, "Flat Copy"));
        EXPECT_TRUE(RestsFramed(main, text, kBorder));
        EXPECT_TRUE(program->IsResponsive());
        WriteFileBytes(tileFile, good);
        ASSERT_TRUE(ChooseSkinWithPreferences(*program, "Flat"));
        EXPECT_TRUE(ShowsPopup(main, text, FlatLook(install), "truncated-after"));
    }
    ExitCleanly(*program);
}

// ---------------------------------------------------------------------------
// Players

TEST(BadPlayers, WinampTitlesLongerThan255BytesAreCut) {
    TestInstall install(kFlatWinamp);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp("Winamp 5.9");

    // Cut in the middle of the second part, and far beyond any buffer: the
    // part before " - Winamp" gives way, so the player's line stays.
    const struct {
        std::string title;
        std::string text;
    } titles[] = {
        {"1. " + std::string(130, 'a') + " - " + std::string(130, 'b') + " - Winamp",
         std::string(130, 'a') + "\n" + std::string(110, 'b') + "\nWinamp"},
        {"2. " + std::string(60, 'c') + " - " + std::string(100000, 'd') + " - Winamp",
         std::string(60, 'c') + "\n" + std::string(180, 'd') + "\nWinamp"},
    };
    for (const auto& [title, text] : titles) {
        winamp.SetTitle(title);
        EXPECT_TRUE(ShowsPopup(main, text, FlatLook(install), "long-winamp-title"));
    }
    EXPECT_TRUE(program->IsResponsive());
    ExitCleanly(*program);
}

TEST(BadPlayers, WinampTitlesInOtherScripts) {
    TestInstall install(kFlatWinamp);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp(std::wstring(L"Winamp 5.9"));

    // The program reads them exactly and cuts long ones at 255 bytes between
    // characters; the texts it makes are checked through the lyrics search
    // (script_test), as this driver's code page draws other scripts in other
    // fonts than the program's. Here: each comes up, and nothing breaks.
    const std::wstring titles[] = {
        L"1. \x6B4C\x624B\x306E\x540D\x524D - \x66F2\x306E\x540D\x524D - Winamp",
        L"2. " + std::wstring(150, L'\x5B57') + L" - " + std::wstring(150, L'\x8A9E') +
            L" - Winamp",
        L"3. \xC6D0\xD53C\xC2A4 - \x0417\x0432\x0435\x0437\x0434\x0430 \x00C9t\x00E9 - Winamp",
    };
    for (const std::wstring& title : titles) {
        GeometryTrace trace(main);
        winamp.SetTitle(title);
        EXPECT_TRUE(trace.RecordUntil([](const Box& b) { return !IsAtRest(b); }, kGenerousMs))
            << "no new show";
        trace.Clear();
        EXPECT_TRUE(trace.RecordUntil(IsAtRest, kGenerousMs)) << WindowBox(main);
    }
    EXPECT_TRUE(program->IsResponsive());
    ExitCleanly(*program);
}

TEST(BadPlayers, MediaPlayerAuthorAndNameOfTenThousandCharacters) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active()) << "could not register the fake control";
    CFakeWmpDriver driver;
    MediaPlayerWindow player;
    ASSERT_NE(player.Get(), nullptr);
    TestInstall install("[PREFERENCES]\r\nskin=Flat\r\nenwinamp=0\r\nenwmp=1\r\n");
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);

    std::string longText; // UTF-8, in letters this driver's code page draws as the program does
    while (longText.size() < 10000) {
        longText += "\xC3\x9C"
                    "ber L\xC3\xA4"
                    "nge ";
    }
    // Author and name share the 233 bytes beside the line feeds and the
    // player's line, cut between characters: a short one is kept whole, and of
    // two long ones the author keeps half.
    const std::string author223 = Utf8Prefix(longText, 223);
    const std::string name221 = Utf8Prefix(longText, 221);
    const std::string author116 = Utf8Prefix(longText, 116);
    const std::string nameRest = Utf8Prefix(longText, 233 - author116.size());
    const struct {
        std::string author, name, shown;
    } media[] = {
        {longText, "Short Name", author223 + "\nShort Name"},
        {"Short Author", longText, "Short Author\n" + name221},
        {longText, longText, author116 + "\n" + nameRest},
    };
    for (const auto& [author, name, shown] : media) {
        driver.SetMedia(kPlaying, author, name);
        const std::string text = ToAnsi(FromUtf8(shown + "\n" + kMediaPlayerLine));
        EXPECT_TRUE(ShowsPopup(main, text, FlatLook(install), "long-media-texts"));
    }
    EXPECT_TRUE(program->IsResponsive());
    ExitCleanly(*program);
}

TEST(BadPlayers, AThousandTitleChangesInARowEndWithTheLastShown) {
    TestInstall install(kFlatWinamp);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp("Winamp 5.9");

    // Each tick sees the next title: a thousand layouts, each switch taking
    // over from the one before.
    for (int i = 1; i <= 1000; ++i) {
        winamp.SetTitle(std::to_string(i) + ". Artist " + std::to_string(i) + " - " +
                        std::string(static_cast<size_t>(i % 50), '~') + " - Winamp");
        TickPoll(main);
    }
    const std::string last = "Artist 1000\n" + std::string(1000 % 50, '~') + "\nWinamp";
    EXPECT_TRUE(ShowsPopup(main, last, FlatLook(install), "thousand-titles"));
    GeometryTrace trace(main);
    trace.RecordFor(800);
    EXPECT_EQ(trace.Boxes(), std::vector<Box>{Rest(last)}) << Describe(trace.Boxes());
    ExitCleanly(*program);
}

// ---------------------------------------------------------------------------
// Exit and instances

TEST(Exit, InTheMiddleOfEachAnimationFiftyTimesInARow) {
    enum class During { Show, Switch, Hide };
    for (int round = 0; round < 50; ++round) {
        const During during = static_cast<During>(round % 3);
        SCOPED_TRACE("round " + std::to_string(round));
        TestInstall install(kFlatWinamp);
        FakeWinamp winamp(std::to_string(round) + ". First - Song - Winamp");
        std::optional<RunningProgram> program(std::in_place, install);
        HWND main = program->WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        const int width = PopupWidth("First\nSong\nWinamp");
        GeometryTrace trace(main);
        TickPoll(main);

        std::function<bool(const Box&)> moving;
        switch (during) {
        case During::Show:
            moving = [](const Box& b) {
                return b.y == kPopupAtRest.y && b.x > 0 && b.x < kPopupAtRest.x;
            };
            break;
        case During::Switch: {
            // A second track while the first grows in: the switch shrinks
            // the pop-up into its right edge from wherever it is.
            ASSERT_TRUE(trace.RecordUntil([](const Box& b) { return b.x > 8; }, kGenerousMs));
            const Box growing = trace.Last();
            winamp.SetTitle("99. Second - Song - Winamp");
            TickPoll(main);
            moving = [growing](const Box& b) {
                return b.x > growing.x && b.Right() < growing.Right() + 64 && b.width > 0 &&
                       b.width < growing.width;
            };
            break;
        }
        case During::Hide:
            ASSERT_TRUE(trace.RecordUntil([&](const Box& b) { return b == PopupAtRest(width); },
                                          kGenerousMs));
            // The toggle is ignored until the show's last step is over.
            ASSERT_TRUE(WaitUntil(
                [&] {
                    program->PostCommand(kCommandToggle);
                    return WindowBox(main).height < kPopupAtRest.height;
                },
                kGenerousMs, 100));
            moving = [](const Box& b) { return b.height < kPopupAtRest.height && b.height > 6; };
            break;
        }
        ASSERT_TRUE(trace.RecordUntil(moving, kGenerousMs)) << Describe(trace.Boxes());
        ExitCleanly(*program);
        EXPECT_FALSE(IsWindow(main));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(Instances, TwoSideBySideEachShowTheTrack) {
    const std::string settings = kFlatWinamp + "\r\n";
    TestInstall install(settings);
    AddFlatSkins(install);
    std::optional<RunningProgram> first;
    std::optional<RunningProgram> second;
    HWND one = Start(first, install);
    HWND two = Start(second, install);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    ASSERT_NE(one, two);

    // Both watch the same player, and both bring its track in at the same
    // place.
    FakeWinamp winamp("1. Twice - The Same Song - Winamp");
    const std::string text = "Twice\nThe Same Song\nWinamp";
    EXPECT_TRUE(WaitUntil([&] { return WindowBox(one) == Rest(text); })) << WindowBox(one);
    EXPECT_TRUE(WaitUntil([&] { return WindowBox(two) == Rest(text); })) << WindowBox(two);
    ASSERT_TRUE(HideNow(*first));
    ASSERT_TRUE(HideNow(*second));

    // Shown on demand one at a time, each shows it correctly.
    for (RunningProgram* program : {&*first, &*second}) {
        program->PostCommand(kCommandToggle);
        EXPECT_TRUE(ShowsPopup(program->MainWindow(), text, FlatLook(install), "two-instances"));
        ASSERT_TRUE(HideNow(*program));
    }

    // Each ends on its own; the other goes on showing tracks.
    ExitCleanly(*first);
    EXPECT_TRUE(second->IsResponsive());
    winamp.SetTitle("2. Alone - Now - Winamp");
    EXPECT_TRUE(ShowsPopup(two, "Alone\nNow\nWinamp", FlatLook(install), "two-instances-alone"));
    ExitCleanly(*second);
    EXPECT_EQ(install.ReadSettings(), settings);
}

// ---------------------------------------------------------------------------
// Faults of the platform

TEST(Faults, NoFileCanBeMadeBesideTheProgram) {
    // As if the folder were read-only: the settings file cannot be opened
    // or created (a folder holds its name) and a save's temporary file
    // cannot be made either. (A read-only attribute would not stop an
    // administrator, nor Wine running as root.)
    TestInstall install;
    ASSERT_TRUE(CreateDirectoryA(install.SettingsPath().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((install.SettingsPath() + ".tmp").c_str(), nullptr));
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);

    // Defaults, and no message about it: the default skin, no player.
    PumpFor(1000);
    EXPECT_EQ(OtherVisibleWindows(*program), std::vector<std::string>{});
    program->PostCommand(kCommandToggle);
    EXPECT_TRUE(ShowsPopup(main, "", DefaultLook(install), "no-files-default-popup"));
    ExitCleanly(*program);
    EXPECT_TRUE(GetFileAttributesA(install.SettingsPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Faults, ARefusedTemporaryFileLeavesTheSettingsFileAlone) {
    const std::string settings = kFlatWinamp + "[Mine]\r\nkept=yes\r\n\r\n";
    TestInstall install(settings);
    AddFlatSkins(install);
    // The save's temporary file cannot be made where a folder holds its name.
    const std::string temporary = install.SettingsPath() + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(temporary.c_str(), nullptr));
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp("1. Saved - Or Not - Winamp");
    const std::string text = "Saved\nOr Not\nWinamp";
    ASSERT_TRUE(ShowsPopup(main, text, FlatLook(install), "refused-save-before"));

    // OK saves: the save fails, the file stays as it was, and the new skin
    // is worn all the same.
    ASSERT_TRUE(ChooseSkinWithPreferences(*program, "Default Skin 1"));
    EXPECT_TRUE(ShowsPopup(main, text, DefaultLook(install), "refused-save-after"));
    EXPECT_EQ(OtherVisibleWindows(*program), std::vector<std::string>{});
    EXPECT_EQ(install.ReadSettings(), settings);
    ExitCleanly(*program);
    EXPECT_EQ(install.ReadSettings(), settings);
    EXPECT_TRUE(GetFileAttributesA(temporary.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Faults, ThreadsThatCannotBeCreatedMoveNothingAndBreakNothing) {
    TestInstall install(kFlatWinamp);
    AddFlatSkins(install);
    std::optional<RunningProgram> program;
    HWND main = Start(program, install);
    ASSERT_NE(main, nullptr);
    FakeWinamp winamp("Winamp 5.9");
    const std::string text = "Frozen\nIn Place\nWinamp";
    {
        RefusedThreadsInProgram refused(program->Process());
        ASSERT_TRUE(refused.Active()) << "could not refuse the program's threads";
        // A new track and the toggle: neither can start its animation.
        GeometryTrace trace(main);
        winamp.SetTitle("1. Frozen - In Place - Winamp");
        TickPoll(main);
        program->PostCommand(kCommandToggle);
        trace.RecordFor(1000);
        EXPECT_EQ(trace.Boxes(), std::vector<Box>{(Box{0, 0, 0, 0})}) << Describe(trace.Boxes());
        EXPECT_TRUE(program->IsResponsive());
        EXPECT_EQ(OtherVisibleWindows(*program), std::vector<std::string>{});
    }
    // Threads again: the toggle brings the track that was reported meanwhile.
    program->PostCommand(kCommandToggle);
    EXPECT_TRUE(ShowsPopup(main, text, FlatLook(install), "threads-refused-then-shown"));

    // And Exit while no thread can be made ends the program cleanly.
    RefusedThreadsInProgram refused(program->Process());
    ASSERT_TRUE(refused.Active());
    winamp.SetTitle("2. Never - Shown - Winamp");
    TickPoll(main);
    ExitCleanly(*program);
}

// The media player source with a control that fails: Wine's own (its play
// state and commands are not implemented), one that cannot be loaded, and
// the fake playing without any media. Winamp's track still shows beside it.
class FailingControl : public testing::Test {
  protected:
    void StartWatchingBoth() {
        m_install = std::make_unique<TestInstall>(
            "[PREFERENCES]\r\nskin=Flat\r\nenwinamp=1\r\nenwmp=1\r\n");
        AddFlatSkins(*m_install);
        m_main = Start(m_program, *m_install);
        ASSERT_NE(m_main, nullptr);
    }

    // Polls with the failing control for a while, then Winamp's track shows.
    void ExpectNothingFromThePlayerButWinampShows(bool controlEmbedded) {
        ASSERT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) != nullptr; }))
            << "no host for the player's window";
        // The host window shows before it has embedded the control.
        if (controlEmbedded) {
            EXPECT_TRUE(
                WaitUntil([&] { return HoldsAControlWindow(PlayerHostWindow(*m_program)); }));
        } else {
            ASSERT_TRUE(m_program->IsResponsive()); // the poll that made the host is over
            EXPECT_FALSE(HoldsAControlWindow(PlayerHostWindow(*m_program)));
        }
        for (int i = 0; i < 50; ++i) {
            TickPoll(m_main);
        }
        EXPECT_EQ(WindowBox(m_main), (Box{0, 0, 0, 0})) << "the failing player showed something";
        EXPECT_TRUE(m_program->IsResponsive());
        m_winamp.SetTitle("1. Beside - A Failing Player - Winamp");
        EXPECT_TRUE(ShowsPopup(m_main, "Beside\nA Failing Player\nWinamp", FlatLook(*m_install),
                               "failing-control"));
        m_player.Close();
        EXPECT_TRUE(WaitUntil([&] { return PlayerHostWindow(*m_program) == nullptr; }));
        ExitCleanly(*m_program);
    }

    FakeWinamp m_winamp{"Winamp 5.9"};
    MediaPlayerWindow m_player;
    std::unique_ptr<TestInstall> m_install;
    std::optional<RunningProgram> m_program;
    HWND m_main = nullptr;
};

TEST_F(FailingControl, WinesOwnControlFailsItsCalls) {
    CWineWmpRegistration wineControl;
    ASSERT_TRUE(wineControl.Active());
    StartWatchingBoth();
    ExpectNothingFromThePlayerButWinampShows(true);
}

TEST_F(FailingControl, TheControlCannotBeLoaded) {
    CFakeWmpRegistration broken("C:\\no such folder\\fakewmp.dll");
    ASSERT_TRUE(broken.Active());
    StartWatchingBoth();
    ExpectNothingFromThePlayerButWinampShows(false);
}

TEST_F(FailingControl, PlayingWithoutAnyMedia) {
    CFakeWmpRegistration registration;
    ASSERT_TRUE(registration.Active());
    CFakeWmpDriver driver;
    driver.SetNoMedia(kPlaying);
    StartWatchingBoth();
    ExpectNothingFromThePlayerButWinampShows(true);
}
