#pragma once

#include "afx_controls.h"

// A modal dialog built from a dialog template resource. Messages reach the
// derived class through its message map; OK and Cancel commands that the map
// does not handle end the dialog.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; returns its result, or -1 when it
    // could not be created.
    INT_PTR DoModal();

    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR DispatchUnmappedCommand(UINT id, UINT code);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};
