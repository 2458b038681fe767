#include "afx_dialog.h"

#include "afx_app.h"

INT_PTR CDialog::DoModal()
{
    const HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const INT_PTR result = ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), parent,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::OnInitDialog()
{
    CDataExchange exchange(this, FALSE);
    DoDataExchange(&exchange);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        dialog->m_hWnd = hwnd;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return dialog ? dialog->Dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }

    const AFX_MSGMAP_ENTRY* entry = FindHandler(message, code, id);
    if (!entry)
        return message == WM_COMMAND ? DispatchUnmappedCommand(id, code) : FALSE;

    m_bDefaultProcessing = false;
    LRESULT notifyResult = 0;
    const INT_PTR result = entry->pfn(this, wParam, lParam, &notifyResult);
    if (m_bDefaultProcessing)
        return FALSE;
    if (message != WM_COMMAND)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, notifyResult);
    return result;
}

INT_PTR CDialog::DispatchUnmappedCommand(UINT id, UINT code)
{
    if (id == IDOK || id == IDCANCEL) {
        // Only a click (or Enter, Escape, Close, which arrive as one) ends
        // the dialog; a button's other notifications never do.
        if (code != BN_CLICKED)
            return FALSE;
        if (id == IDOK)
            OnOK();
        else
            OnCancel();
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code);
}
