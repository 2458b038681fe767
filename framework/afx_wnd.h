#pragma once

#include "afx_msgmap.h"
#include "afx_string.h"

// A window handle with the window operations the application uses. Every call
// is a plain window message or user32 call on m_hWnd: from another thread it
// is a synchronous cross-thread message served by the window's own thread.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }
    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(m_hWnd, id)); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }

    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void SetWindowText(LPCWSTR text) const { ::SetWindowTextW(m_hWnd, text); }
    CString GetWindowText() const;
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) const { return ::SetTimer(m_hWnd, id, elapseMs, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    HICON SetIcon(HICON icon, BOOL bigIcon) const
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }

    // Handlers with default processing; a derived class's map may route here.
    void OnPaint() { Default(); }

    HWND m_hWnd = nullptr;

protected:
    // Leaves the current message to the window's default processing.
    void Default() { m_bDefaultProcessing = true; }
    bool m_bDefaultProcessing = false;
};

// Paint context of one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    BOOL DrawIcon(int x, int y, HICON icon) const { return ::DrawIcon(m_hDC, x, y, icon); }
    HDC GetSafeHdc() const { return m_hDC; }

    HDC m_hDC = nullptr;

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
};
