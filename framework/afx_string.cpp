#include "afx_string.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    m_text.assign(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}
