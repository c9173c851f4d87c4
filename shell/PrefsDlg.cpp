// The Preferences dialog: lists the skins, previews the selected one with
// sample text, and hands the chosen skin and player switches to its caller.
#include "shell/PrefsDlg.h"
#include "config/Settings.h"
#include "framework/Dpi.h"
#include "framework/FileFind.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPrefsDlg, CDialog)
ON_WM_PAINT()
ON_CBN_SELCHANGE(IDC_SKIN_LIST, OnSkinSelChange)
ON_BN_CLICKED(IDC_ABOUT, OnAbout)
END_MESSAGE_MAP()

namespace {

// The preview is the pop-up at its smallest width (seven tiles), drawn with
// its top-left corner here, in the free space of the "Skin Options" group
// (at 96 DPI; at other DPIs place and size grow with the dialog).
constexpr POINT kPreviewOrigin{27, 71};
constexpr char kSampleText[] = "Artist\nTitle\nAlbum Title";

// The players' check boxes and the settings that switch them.
struct PlayerBox {
    int id;
    const char* key;
};
constexpr PlayerBox kPlayerBoxes[] = {{IDC_ENABLE_WINAMP, kEnableWinampKey},
                                      {IDC_ENABLE_WMP, kEnableWmpKey},
                                      {IDC_ENABLE_MEDIA_SESSIONS, kEnableMediaSessionsKey}};

// The dialog manager's units for a font: the letters' average width and the
// line height, from which it sizes and places the controls.
SIZE DialogUnitsOf(const LOGFONTW& font) {
    CGdiObject<HFONT> made;
    made.Attach(::CreateFontIndirectW(&font));
    const CMemoryDC dc;
    if (!made || !dc)
        return SIZE{0, 0};
    const CSelectObject selected(dc, made);
    TEXTMETRICA metrics{};
    SIZE letters{};
    constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const bool measured = ::GetTextMetricsA(dc, &metrics) &&
                          ::GetTextExtentPoint32A(dc, kLetters, sizeof kLetters - 1, &letters);
    return measured ? SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight} : SIZE{0, 0};
}

} // namespace

CPrefsDlg::CPrefsDlg() : CDialog(IDD_PREFERENCES) {}

void CPrefsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SKIN_LIST, m_cbSkin);
}

BOOL CPrefsDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // Every skin definition, in the order the file system returns them. The
    // name is the file name up to its last dot, so "x.y.ini" lists as "x.y".
    CFileFind finder;
    BOOL more = finder.FindFile((SkinDirectory() + "*.ini").c_str());
    while (more) {
        more = finder.FindNextFile();
        m_cbSkin.AddString(finder.GetFileTitle().c_str());
    }

    // Select (and preview) every entry that names the current skin; names are
    // unique in a directory, so at most one does.
    const std::string current = g_settingsIni.GetString(kPreferencesSection, kSkinKey);
    const int count = m_cbSkin.GetCount();
    for (int i = 0; i < count; ++i) {
        if (m_cbSkin.GetLBText(i) == current) {
            m_cbSkin.SetCurSel(i);
            OnSkinSelChange();
        }
    }

    // Any non-zero value ticks a box; OK stores exactly 0 or 1.
    for (const PlayerBox& box : kPlayerBoxes) {
        if (g_settingsIni.GetInt(kPreferencesSection, box.key) != 0)
            ::CheckDlgButton(m_hWnd, box.id, BST_CHECKED);
    }

    // Centred on the primary screen.
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    CenterWindow(&screen);
    return FALSE; // the focus stays where the dialog manager put none
}

void CPrefsDlg::OnSkinSelChange() {
    const int selected = m_cbSkin.GetCurSel();
    if (selected == CB_ERR)
        return; // nothing selected: loading would create a skin file named ".ini"
    m_strSkin = m_cbSkin.GetLBText(selected);

    m_preview.LoadSkin(m_strSkin);
    m_bPreviewLoaded = true;

    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPrefsDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintPreview(dc);
}

void CPrefsDlg::PaintPreview(HDC dc) {
    PaintPreview(dc, PreviewDpi());
}

int CPrefsDlg::PreviewDpi() const {
    // The dialog's layout grows with its font, which is made for the dialog's
    // DPI; the font's rounding can make the layout grow a little less than
    // the DPI. The preview grows as much as the dialog's units did from 96
    // DPI, so it keeps its room in the layout.
    const int dpi = WindowDpi(m_hWnd);
    LOGFONTW font{}; // wide: a narrow face name is cut at 31 bytes
    const HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (dpi == kDefaultDpi || !dialogFont || !::GetObjectW(dialogFont, sizeof font, &font))
        return dpi;
    const SIZE now = DialogUnitsOf(font);
    font.lfHeight = ::MulDiv(font.lfHeight, kDefaultDpi, dpi);
    font.lfWidth = ::MulDiv(font.lfWidth, kDefaultDpi, dpi);
    const SIZE at96 = DialogUnitsOf(font);
    if (now.cx <= 0 || now.cy <= 0 || at96.cx <= 0 || at96.cy <= 0)
        return dpi;
    return UsableDpi(
        std::min(::MulDiv(kDefaultDpi, now.cx, at96.cx), ::MulDiv(kDefaultDpi, now.cy, at96.cy)));
}

void CPrefsDlg::PaintPreview(HDC dc, int dpi) {
    if (!m_bPreviewLoaded)
        return; // no skin chosen yet: the group's background stays as it is
    // The narrowest pop-up, without its buttons.
    m_preview.LayoutNarrowest(kSampleText, dpi);
    m_preview.Paint(
        dc, POINT{ScaleForDpi(kPreviewOrigin.x, dpi), ScaleForDpi(kPreviewOrigin.y, dpi)}, false);
}

void CPrefsDlg::OnOK() {
    // Exactly 1 is "checked"; anything else counts as not.
    m_players.clear();
    for (const PlayerBox& box : kPlayerBoxes)
        m_players.emplace_back(box.key, ::IsDlgButtonChecked(m_hWnd, box.id) == BST_CHECKED);
    CDialog::OnOK();
}

bool CPrefsDlg::Watches(const std::string& key) const {
    for (const auto& [player, watched] : m_players) {
        if (player == key)
            return watched;
    }
    return false;
}

void CPrefsDlg::OnAbout() {
    // Without a parent the About box is owned by this dialog (the main
    // window's active pop-up), which stays disabled until it closes.
    CAboutDlg().DoModal();
}
