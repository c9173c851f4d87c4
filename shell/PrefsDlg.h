// The Preferences dialog: the skin (with a live preview) and the players to
// watch. It writes nothing itself: the caller applies its results.
#pragma once
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "skin/SkinInfo.h"
#include "framework/Gdi.h"
#include <string>

class CPrefsDlg : public CDialog {
  public:
    CPrefsDlg();

    // Results, valid after DoModal returned IDOK.
    std::string m_strSkin;
    bool m_bWinamp = false;
    bool m_bMediaPlayer = false;

    // Paints the preview into `dc` (client coordinates of the dialog), its
    // place and size scaled as the dialog's layout is (PreviewDpi), or for `dpi`.
    void PaintPreview(HDC dc) const;
    void PaintPreview(HDC dc, int dpi) const;
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
    // The previewed skin (frame and text colours, background tiles); empty
    // until the first preview.
    SkinBackground m_preview;

  private:
    bool m_bPreviewLoaded = false;
};
