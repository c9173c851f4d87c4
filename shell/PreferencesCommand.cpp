// The tray's Preferences command: runs the dialog and applies its result.
#include "app/NowPlayingWnd.h"
#include "config/Settings.h"
#include "shell/PrefsDlg.h"

void CNowPlayingWnd::OnPreferences() {
    if (m_bPrefsOpen)
        return; // already open: the tray menu still works while it runs
    m_bPrefsOpen = true;
    CPrefsDlg dialog;
    if (dialog.DoModal() == IDOK) {
        if (dialog.m_strSkin != g_settingsIni.GetString(kPreferencesSection, kSkinKey)) {
            g_settingsIni.SetString(kPreferencesSection, kSkinKey, dialog.m_strSkin, true);
            LoadSkin();
            LayoutPopup();
            StartAnimation(m_animator.IsShown() ? AnimationRoutine::Switch
                                                : AnimationRoutine::Show);
        }
        // Player choices are stored now and govern watching from the next start.
        g_settingsIni.SetInt(kPreferencesSection, kEnableWinampKey, dialog.m_bWinamp ? 1 : 0, true);
        g_settingsIni.SetInt(kPreferencesSection, kEnableWmpKey, dialog.m_bMediaPlayer ? 1 : 0,
                             true);
        g_settingsIni.Save();
    }
    m_bPrefsOpen = false;
}
