// CDialog: a window made from a dialog template of the program's resources,
// run modally (DoModal) or modelessly (Create).
#pragma once
#include "framework/Wnd.h"

class CDialog;

// Moves data between a dialog's controls and its members (only control
// binding is needed here).
class CDataExchange {
  public:
    explicit CDataExchange(CDialog* dialog) : m_pDlgWnd(dialog) {}
    CDialog* m_pDlgWnd;
};

// Binds the dialog's control `id` to `control` (once).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the template is missing or the window cannot be made.
    virtual INT_PTR DoModal();
    // Makes the dialog as a modeless window owned by `owner` (null: the
    // application's main window); FALSE when that fails.
    BOOL Create(UINT templateId, HWND owner = nullptr);
    void EndDialog(int result);

    UINT m_nIDTemplate;

  protected:
    // Binds the controls (DoDataExchange).
    void UpdateData();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

  private:
    INT_PTR HandleInitDialog();
    const DLGTEMPLATE* LoadTemplate() const;
    bool m_bModal = false;
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
