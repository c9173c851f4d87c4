// The Preferences dialog of the running program, driven from outside: how it
// opens, what it shows, what OK and Cancel do to the settings file, the About
// box it opens, and a skin change reaching the pop-up.
#include "support/E2e.h"
#include "support/FlatSkin.h"
#include "support/PopupFace.h"
#include "support/PopupPlace.h"
#include "support/Session.h"
#include "support/SkinList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr int kAboutButton = 1013;
constexpr int kWinampBox = 1014;
constexpr int kMediaPlayerBox = 1015;
constexpr char kPreferencesTitle[] = "Preferences";
constexpr char kAboutTitle[] = "About Trackglow";

// A skin of the tests' own with colours found in no shipped skin.
constexpr char kSignalSkin[] = "Signal";
const Rgb kSignalTile{230, 20, 140};
const Rgb kSignalBorder{0, 255, 0}; // "border=0000FF00"

// A point of the dialog's preview on its first tile, below any text (client
// coordinates).
constexpr POINT kPreviewTileProbe{27 + 1 + 20, 71 + 1 + 60};
constexpr RECT kPreviewRect{27, 71, 344, 137};

void AddSignalSkin(const TestInstall& install) {
    AddFlatSkin(install, kSignalSkin, kSignalTile, "text=00FFFFFF\r\nborder=0000FF00\r\n");
}

HWND OpenPreferences(RunningProgram& program) {
    program.PostCommand(kCommandPreferences);
    return program.WaitForDialog(kPreferencesTitle);
}

// Presses a dialog's button as a click would report it.
void PostClick(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitUntilGone(HWND window) {
    return WaitUntil([&] { return !IsWindow(window); });
}

UINT CheckState(HWND dialog, int id) {
    return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

// The names "interface\*.ini" matches, up to the last dot, in the file system's order.
std::vector<std::string> SkinFileNames(const TestInstall& install) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(JoinPath(install.SkinFolder(), "*.ini").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            names.push_back(name.substr(0, name.rfind('.')));
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return names;
}

Rgb ClientPixel(HWND window, POINT point) {
    ClientToScreen(window, &point);
    return ScreenPixel(point.x, point.y);
}

// Painting reaches the screen a little later under Wine: wait for the colour.
bool ClientPixelBecomes(HWND window, POINT point, const Rgb& colour) {
    return WaitUntil([&] { return ClientPixel(window, point) == colour; });
}

RECT ClientToScreenRect(HWND window, const RECT& rect) {
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::string Settings(const std::string& keyLines) {
    return "[PREFERENCES]\r\n" + keyLines + "\r\n";
}

} // namespace

TEST(Preferences, OpensOnceCentredShowingTheStoredChoicesAndOkStoresThem) {
    Session session(Settings("skin=Signal\r\nenwinamp=2\r\n"), AddSignalSkin);
    RunningProgram& program = session.Program();
    const TestInstall& install = session.Install();

    HWND dialog = OpenPreferences(program);
    ASSERT_NE(dialog, nullptr) << "no Preferences dialog appeared";

    // A second Preferences command opens nothing. The About command posted
    // after it shows that it has been handled.
    program.PostCommand(kCommandPreferences);
    program.PostCommand(kCommandAbout);
    HWND about = program.WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(program.DialogsTitled(kPreferencesTitle).size(), 1u);
    PostClick(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));

    // Centred on the screen.
    const Box box = WindowBox(dialog);
    EXPECT_EQ(box.x, GetSystemMetrics(SM_CXSCREEN) / 2 - box.width / 2) << box;
    EXPECT_EQ(box.y, GetSystemMetrics(SM_CYSCREEN) / 2 - box.height / 2) << box;

    // Every skin file, unsorted; the stored one selected and previewed.
    const LONG listStyle = GetWindowLongA(GetDlgItem(dialog, kSkinList), GWL_STYLE);
    EXPECT_EQ(listStyle & 3, CBS_DROPDOWNLIST);
    EXPECT_FALSE(listStyle & CBS_SORT);
    const std::vector<std::string> entries = SkinEntries(dialog);
    EXPECT_EQ(entries, SkinFileNames(install));
    const int selected = SelectedSkin(dialog);
    ASSERT_GE(selected, 0);
    ASSERT_LT(selected, static_cast<int>(entries.size()));
    EXPECT_EQ(entries[static_cast<size_t>(selected)], kSignalSkin);
    EXPECT_EQ(CheckState(dialog, kWinampBox), static_cast<UINT>(BST_CHECKED)); // stored as 2
    EXPECT_EQ(CheckState(dialog, kMediaPlayerBox), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_TRUE(ClientPixelBecomes(dialog, kPreviewTileProbe, kSignalTile))
        << ClientPixel(dialog, kPreviewTileProbe);
    const POINT corner{kPreviewRect.left, kPreviewRect.top};
    EXPECT_TRUE(ClientPixelBecomes(dialog, corner, kSignalBorder)) << ClientPixel(dialog, corner);
    SaveScreenshot("preferences-dialog", RECT{box.x, box.y, box.Right(), box.Bottom()});

    // Its About button opens the About box, which disables it until it closes.
    PostClick(dialog, kAboutButton);
    about = program.WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr) << "the About button opened nothing";
    EXPECT_FALSE(IsWindowEnabled(dialog));
    PostClick(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
    EXPECT_EQ(SelectedSkin(dialog), selected);
    EXPECT_EQ(CheckState(dialog, kWinampBox), static_cast<UINT>(BST_CHECKED));

    // OK without a change still rewrites the file: every player, 0 or 1.
    PostClick(dialog, IDOK);
    ASSERT_TRUE(WaitUntilGone(dialog));
    const std::string expected = Settings("skin=Signal\r\nenwinamp=1\r\nenwmp=0\r\nenmedia=0\r\n");
    EXPECT_TRUE(WaitUntil([&] { return install.ReadSettings() == expected; }))
        << install.ReadSettings().value_or("(no file)");
    EXPECT_TRUE(program.DialogsTitled(kPreferencesTitle).empty());
}

TEST(Preferences, CancelEscAndTheCloseBoxLeaveTheSettingsFileAlone) {
    // Bytes the program would never write itself, so any rewrite shows.
    const std::string original =
        "[PREFERENCES]\r\nenwmp=7\r\nskin=Default Skin 1\r\n\r\n\r\n[Other]\r\nkey = value\r\n";
    Session session(original, AddSignalSkin);
    RunningProgram& program = session.Program();

    const std::vector<std::function<void(HWND)>> dismissals = {
        [](HWND dialog) { PostClick(dialog, IDCANCEL); },
        [](HWND dialog) { PostKey(dialog, VK_ESCAPE); },
        [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < dismissals.size(); ++i) {
        SCOPED_TRACE("dismissal " + std::to_string(i));
        HWND dialog = OpenPreferences(program);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(CheckState(dialog, kMediaPlayerBox), static_cast<UINT>(BST_CHECKED));
        ASSERT_TRUE(ChooseSkin(dialog, kSignalSkin)) << kSignalSkin << " is not listed";
        EXPECT_TRUE(ClientPixelBecomes(dialog, kPreviewTileProbe, kSignalTile))
            << ClientPixel(dialog, kPreviewTileProbe);
        dismissals[i](dialog);
        ASSERT_TRUE(WaitUntilGone(dialog));
        // Answered once the command that ran the dialog has returned.
        ASSERT_TRUE(program.IsResponsive());
        EXPECT_EQ(session.Install().ReadSettings(), original);
        // Nothing was applied: the pop-up does not come up for a new skin.
        EXPECT_EQ(program.AnimationThreads(), 0);
        EXPECT_EQ(WindowBox(session.Main()), (Box{0, 0, 0, 0}));
    }
}

TEST(Preferences, AStoredSkinMissingFromTheListSelectsNothingAndOkKeepsIt) {
    // Names compare case-sensitively, so this one matches no entry. (A name
    // with no file at all would not do: loading it at start-up creates an
    // empty definition, which then is listed.)
    Session session(Settings("skin=default skin 1\r\nenwinamp=1\r\nenwmp=1\r\n"));
    RunningProgram& program = session.Program();

    HWND dialog = OpenPreferences(program);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SelectedSkin(dialog), CB_ERR);
    EXPECT_EQ(CheckState(dialog, kWinampBox), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(CheckState(dialog, kMediaPlayerBox), static_cast<UINT>(BST_CHECKED));
    // No preview yet: the area is one plain colour.
    const ScreenCapture preview(ClientToScreenRect(dialog, kPreviewRect));
    EXPECT_EQ(preview.Count(preview.At(preview.Left(), preview.Top())),
              preview.Width() * preview.Height());

    // With nothing selected the user's skin stays stored as it was (the
    // empty name would replace it by the default); the players are saved.
    PostClick(dialog, IDOK);
    ASSERT_TRUE(WaitUntilGone(dialog));
    ASSERT_TRUE(program.IsResponsive());
    EXPECT_EQ(session.Install().ReadSettings(),
              Settings("skin=default skin 1\r\nenwinamp=1\r\nenwmp=1\r\nenmedia=0\r\n"));
}

TEST(Preferences, ASkinChangeShowsThePopupInTheNewSkin) {
    Session session(Settings("skin=Default Skin 1\r\n"), AddSignalSkin);
    RunningProgram& program = session.Program();

    // The pop-up at rest in the stored skin.
    program.PostCommand(kCommandToggle);
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), DefaultSkinLook(), 317),
                          "preferences-old-skin-popup"));
    ASSERT_TRUE(session.HideNow());

    HWND dialog = OpenPreferences(program);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseSkin(dialog, kSignalSkin)) << kSignalSkin << " is not listed";
    PostClick(dialog, IDOK);
    ASSERT_TRUE(WaitUntilGone(dialog));

    // The changed skin comes up on its own, and at rest wears the new colours.
    const SkinLook signal{"Signal.bmp", "", "", "", Rgb{255, 255, 255}, kSignalBorder};
    EXPECT_TRUE(ShowsFace(session.Main(), PopupFace(session.Install(), signal, 317),
                          "preferences-new-skin-popup"));
    SaveScreenshot("preferences-new-skin-popup",
                   RECT{0, 0, kPopupAtRest.Right() + 16, kPopupAtRest.Bottom() + 16});
    EXPECT_EQ(session.Install().ReadSettings(),
              Settings("skin=Signal\r\nenwinamp=0\r\nenwmp=0\r\nenmedia=0\r\n"));
}

TEST(Preferences, ExitFromTheTrayWhilePreferencesAndAboutAreOpenEndsTheProgram) {
    const std::string settings = Settings("skin=Signal\r\nenwinamp=1\r\n");
    Session session(settings, AddSignalSkin);
    RunningProgram& program = session.Program();
    ASSERT_NE(OpenPreferences(program), nullptr);
    program.PostCommand(kCommandAbout);
    ASSERT_NE(program.WaitForDialog(kAboutTitle), nullptr);

    // Both dialogs close, nothing is stored, and the program ends with 0.
    session.Exit();
    EXPECT_EQ(session.Install().ReadSettings(), settings);
}
