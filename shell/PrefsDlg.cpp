// The Preferences dialog: lists the skins, previews the selected one with
// sample text, and hands the chosen skin and player switches to its caller.
#include "shell/PrefsDlg.h"
#include "config/Settings.h"
#include "core/IniFile.h"
#include "core/PopupLayout.h"
#include "framework/FileFind.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"

BEGIN_MESSAGE_MAP(CPrefsDlg, CDialog)
ON_WM_PAINT()
ON_CBN_SELCHANGE(IDC_SKIN_LIST, OnSkinSelChange)
ON_BN_CLICKED(IDC_ABOUT, OnAbout)
END_MESSAGE_MAP()

namespace {

// The preview is the pop-up at its smallest width (seven tiles), drawn with
// its top-left corner here, in the free space of the "Skin Options" group.
constexpr POINT kPreviewOrigin{27, 71};
constexpr char kSampleText[] = "Artist\nTitle\nAlbum Title";

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
    if (g_settingsIni.GetInt(kPreferencesSection, kEnableWinampKey) != 0)
        ::CheckDlgButton(m_hWnd, IDC_ENABLE_WINAMP, BST_CHECKED);
    if (g_settingsIni.GetInt(kPreferencesSection, kEnableWmpKey) != 0)
        ::CheckDlgButton(m_hWnd, IDC_ENABLE_WMP, BST_CHECKED);

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

    const std::string folder = SkinDirectory();
    m_preview.Load(LoadSkinDefinition(folder, m_strSkin), folder);
    m_bPreviewLoaded = true;

    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPrefsDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    PaintPreview(dc);
}

void CPrefsDlg::PaintPreview(HDC dc) const {
    if (!m_bPreviewLoaded)
        return; // no skin chosen yet: the group's background stays as it is

    const PopupLayout layout = ComputePopupLayout(0); // the narrowest pop-up
    CMemoryDC memory;
    m_preview.Paint(dc, memory, kPreviewOrigin, layout.layout.Width());

    // The skin's font, or the device context's own (the system font), as on
    // the pop-up.
    RECT text{kPreviewOrigin.x + layout.text.left, kPreviewOrigin.y + layout.text.top,
              kPreviewOrigin.x + layout.text.right, kPreviewOrigin.y + layout.text.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_preview.crText);
    CSelectObject font(dc, m_preview.font);
    ::DrawTextA(dc, kSampleText, -1, &text, DT_NOPREFIX | DT_NOCLIP);
}

void CPrefsDlg::OnOK() {
    // Exactly 1 is "checked"; anything else counts as not.
    m_bWinamp = ::IsDlgButtonChecked(m_hWnd, IDC_ENABLE_WINAMP) == BST_CHECKED;
    m_bMediaPlayer = ::IsDlgButtonChecked(m_hWnd, IDC_ENABLE_WMP) == BST_CHECKED;
    CDialog::OnOK();
}

void CPrefsDlg::OnAbout() {
    // Without a parent the About box is owned by this dialog (the main
    // window's active pop-up), which stays disabled until it closes.
    CAboutDlg().DoModal();
}
