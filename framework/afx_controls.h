#pragma once

#include "afx_wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    // 16-bit range: low bound in the low word, high bound in the high word.
    void SetRange(short lower, short upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) const { SendMessage(PBM_SETRANGE32, lower, upper); }
    int SetPos(int position) const { return static_cast<int>(SendMessage(PBM_SETPOS, position)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

class CLinkCtrl : public CWnd {};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a control object to the dialog's child window with that id.
inline void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = ::GetDlgItem(exchange->m_pDlgWnd->m_hWnd, id);
}
