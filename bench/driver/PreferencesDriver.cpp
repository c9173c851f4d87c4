#include "PreferencesDriver.h"

#include "support/SkinList.h"
#include "support/Wait.h"

namespace bench {

bool ChooseSkinInPreferences(const e2e::RunningProgram& program, const std::string& skin) {
    program.PostCommand(e2e::kCommandPreferences);
    HWND dialog = program.WaitForDialog("Preferences");
    if (!dialog)
        return false;
    // As the user's choice reaches the dialog: the selection with the list's
    // notification, then OK.
    if (!e2e::ChooseSkin(dialog, skin))
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return e2e::WaitUntil([&] { return !IsWindow(dialog); }, e2e::kGenerousMs, 2);
}

} // namespace bench
