// The skin list of the program's Preferences dialog, read and driven from
// outside. Across processes Wine answers the A form of CB_GETLBTEXT in
// UTF-16, so the list is read in the W form.
#pragma once

#include "support/RunningProgram.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The list's control identifier in the dialog.
constexpr int kSkinList = 1000;

// The list's entries, in its order.
std::vector<std::string> SkinEntries(HWND dialog);

// The same in UTF-16, for names the driver's code page cannot hold.
std::vector<std::wstring> SkinEntriesW(HWND dialog);

// The index of the selected entry, or CB_ERR.
int SelectedSkin(HWND dialog);

// Selects an entry as the user would: the list reports the change to the
// dialog, which previews the skin.
void ChooseSkin(HWND dialog, int index);
// The same by the entry's name; false when no entry has it.
bool ChooseSkin(HWND dialog, const std::string& name);
bool ChooseSkin(HWND dialog, const std::wstring& name);

// Opens Preferences from the program's command, chooses `skin` in its list
// as the user would and presses OK; fails when the dialog did not open, list
// the skin or close.
testing::AssertionResult ChooseSkinWithPreferences(const RunningProgram& program,
                                                   const std::string& skin);

} // namespace e2e
