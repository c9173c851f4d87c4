// The tray icon's balloon: the record the shell is given, and when the shell
// takes it.
#include "res/resource.h"
#include "shell/SystemTray.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <string>

namespace {

void AddAsTheProgramDoes(CSystemTray& tray) {
    CWnd unborn;
    const HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRAY));
    ASSERT_TRUE(tray.AddIcon(&unborn, WM_USER + 1, "Trackglow", icon, IDR_TRAYMENU));
}

TEST(Balloon, TheRecordNamesTheIconAndCarriesTheTextsCutToFit) {
    CSystemTray tray;
    AddAsTheProgramDoes(tray);
    NOTIFYICONDATAW record = tray.BalloonRecord(L"Trackglow", L"Trackglow is here");
    // The record's second layout, the first with balloons: it ends with the
    // balloon's flags (952 bytes with 64-bit handles).
    EXPECT_EQ(record.cbSize, offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD));
    EXPECT_EQ(record.cbSize, sizeof(void*) == 8 ? 952u : 936u);
    EXPECT_EQ(record.hWnd, tray.m_nid.hWnd);
    EXPECT_EQ(record.uID, static_cast<UINT>(IDR_TRAYMENU));
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(std::wstring(record.szInfoTitle), L"Trackglow");
    EXPECT_EQ(std::wstring(record.szInfo), L"Trackglow is here");

    // 255 and 63 characters fit; a character of two UTF-16 units across the
    // cut goes whole.
    const std::wstring title(80, L't');
    const std::wstring split = std::wstring(254, L'x') + L"\U0001F3B5";
    record = tray.BalloonRecord(title.c_str(), split.c_str());
    EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L't'));
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
