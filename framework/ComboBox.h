// CComboBox: a combo box control of a dialog.
#pragma once
#include "framework/Wnd.h"
#include <string>

class CComboBox : public CWnd {
  public:
    int AddString(const char* text) const;
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
    // The entry's text; empty for an index out of range.
    std::string GetLBText(int index) const;
};
