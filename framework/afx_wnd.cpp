#include "afx_wnd.h"

#include <vector>

CString CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return CString(buffer.data(), copied);
}
