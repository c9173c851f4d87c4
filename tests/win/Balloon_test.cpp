// The tray icon's balloon: the record the shell is given, and when the shell
// takes it.
#include "res/resource.h"
#include "shell/SystemTray.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <string>

namespace {

constexpr UINT kCallback = WM_USER + 1;
constexpr UINT kIconId = IDR_TRAYMENU;

HICON TrayIcon() {
    return ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY));
}

void AddAsTheProgramDoes(CSystemTray& tray) {
    CWnd unborn;
    ASSERT_TRUE(tray.AddIcon(&unborn, kCallback, "Trackglow", TrayIcon(), kIconId));
}

TEST(Balloon, TheRecordNamesTheIconAndCarriesTheBalloonsTexts) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    const NOTIFYICONDATAW record = tray.BalloonRecord(L"Trackglow", L"Trackglow is here");
    // The second layout of the record, the first with balloons: it ends with
    // the balloon's flags (952 bytes with 64-bit handles).
    EXPECT_EQ(record.cbSize, offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD));
    EXPECT_EQ(record.cbSize, sizeof(void*) == 8 ? 952u : 936u);
    EXPECT_EQ(record.hWnd, tray.m_nid.hWnd);
    EXPECT_EQ(record.uID, kIconId);
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"Trackglow");
    EXPECT_EQ(std::wstring(record.szInfo), L"Trackglow is here");
    EXPECT_EQ(record.szTip[0], L'\0');
}

TEST(Balloon, LongTextsAreCutToTheRecordsBuffersNeverInsideACharacter) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    const std::wstring longText(300, L'x');
    const std::wstring longTitle(80, L't');
    NOTIFYICONDATAW record = tray.BalloonRecord(longTitle.c_str(), longText.c_str());
    EXPECT_EQ(std::wstring(record.szInfo), std::wstring(255, L'x'));
    EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L't'));
    // A character beyond the first 65536 (two UTF-16 units) across the cut
    // goes whole.
    const std::wstring split = std::wstring(254, L'x') + L"\U0001F3B5";
    record = tray.BalloonRecord(L"", split.c_str());
    EXPECT_EQ(std::wstring(record.szInfo), std::wstring(254, L'x'));
    const std::wstring fits = std::wstring(253, L'x') + L"\U0001F3B5";
    record = tray.BalloonRecord(nullptr, fits.c_str());
    EXPECT_EQ(std::wstring(record.szInfo), fits);
    EXPECT_EQ(record.szInfoTitle[0], L'\0');
}

TEST(Balloon, TheShellTakesItOnlyWhileTheIconIsInTheTray) {
    CSystemTray tray;
    EXPECT_FALSE(tray.ShowBalloon(L"Trackglow", L"before the icon"));
    AddAsTheProgramDoes(tray);
    EXPECT_TRUE(tray.ShowBalloon(L"Trackglow", L"Trackglow is here"));
    tray.WithdrawIcon();
    EXPECT_FALSE(tray.ShowBalloon(L"Trackglow", L"after the icon"));
}

} // namespace
