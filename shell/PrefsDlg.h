// The Preferences dialog: the skin (with a live preview) and the players to
// watch. It writes nothing itself: the caller applies its results.
#pragma once
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "skin/PopupView.h"
#include <string>
#include <utility>
#include <vector>

class CPrefsDlg : public CDialog {
  public:
    CPrefsDlg();

    // Results, valid after DoModal returned IDOK: the chosen skin (empty:
    // none selected), and for each player's settings key whether to watch it.
    std::string m_strSkin;
    std::vector<std::pair<std::string, bool>> m_players;
    bool Watches(const std::string& key) const;

    // Paints the preview into `dc` (client coordinates of the dialog), its
    // place and size scaled as the dialog's layout is (PreviewDpi), or for `dpi`.
    void PaintPreview(HDC dc);
    void PaintPreview(HDC dc, int dpi);
    // The DPI the preview is drawn for: 96 on a 96-DPI screen; on others as
    // much larger as the dialog's layout grew with its font.
    int PreviewDpi() const;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    virtual void OnPaint();
    void OnSkinSelChange();
    void OnAbout();

    DECLARE_MESSAGE_MAP()

  public:
    CComboBox m_cbSkin;
    // The previewed skin with a sample text; nothing until a skin is selected.
    CPopupView m_preview;

  private:
    bool m_bPreviewLoaded = false;
};
