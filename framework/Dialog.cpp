#include "framework/Dialog.h"
#include "framework/WinApp.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.Attach(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id));
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    // A modeless dialog still open goes with its object.
    if (m_hWnd && !m_bModal)
        ::DestroyWindow(m_hWnd);
}

const DLGTEMPLATE* CDialog::LoadTemplate() const {
    HINSTANCE instance = AfxGetInstanceHandle();
    HRSRC resource =
        ::FindResourceA(instance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5));
    if (!resource)
        return nullptr;
    HGLOBAL loaded = ::LoadResource(instance, resource);
    return loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

INT_PTR CDialog::DoModal() {
    const DLGTEMPLATE* dialogTemplate = LoadTemplate();
    if (!dialogTemplate)
        return -1;
    HWND owner = GetSafeOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    m_bModal = true;
    INT_PTR result = ::DialogBoxIndirectParamA(AfxGetInstanceHandle(), dialogTemplate, owner,
                                               AfxDlgProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, HWND owner) {
    m_nIDTemplate = templateId;
    const DLGTEMPLATE* dialogTemplate = LoadTemplate();
    if (!dialogTemplate)
        return FALSE;
    HWND hwnd =
        ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), dialogTemplate, GetSafeOwner(owner),
                                     AfxDlgProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(int result) {
    if (!m_hWnd)
        return;
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

void CDialog::UpdateData() {
    CDataExchange dx(this);
    DoDataExchange(&dx);
}

BOOL CDialog::OnInitDialog() {
    UpdateData();
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData();
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    return 0; // the dialog manager does the default processing
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnOK();
                return TRUE;
            }
            break;
        case IDCANCEL:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCancel();
                return TRUE;
            }
            break;
        default:
            break;
        }
    }
    return FALSE;
}

INT_PTR CDialog::HandleInitDialog() {
    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    BOOL focusDefault = OnInitDialog();
    // A dialog that did not place itself is centred over its owner.
    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    const bool moved = !::EqualRect(&before, &after);
    if (!moved && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD))
        CenterWindow();
    return focusDefault;
}

INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->AttachPermanent(hwnd);
        return dialog->HandleInitDialog();
    }
    if (!wnd)
        return FALSE;
    INT_PTR result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        wnd->DetachPermanent();
    return result;
}
