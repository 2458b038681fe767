#pragma once

#include <windows.h>

#include <string>

// The framework's wide string: an owning wrapper over std::wstring with the
// handful of operations the application uses.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    CString(std::wstring text) : m_text(std::move(text)) {}

    operator LPCWSTR() const { return m_text.c_str(); }
    LPCWSTR GetString() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t operator[](int index) const { return m_text[static_cast<size_t>(index)]; }

    // Positions are character indexes; -1 means "not found".
    int Find(const wchar_t* what, int start = 0) const { return ToIndex(m_text.find(what, static_cast<size_t>(start))); }
    int Find(wchar_t what, int start = 0) const { return ToIndex(m_text.find(what, static_cast<size_t>(start))); }
    int ReverseFind(wchar_t what) const { return ToIndex(m_text.rfind(what)); }

    CString Left(int count) const { return CString(m_text.substr(0, static_cast<size_t>(count))); }
    CString Mid(int first) const { return CString(m_text.substr(static_cast<size_t>(first))); }
    CString Mid(int first, int count) const
    {
        return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
    }

    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    CString& operator+=(const wchar_t* other) { m_text += other; return *this; }
    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend CString operator+(CString left, const wchar_t* right) { return left += right; }
    friend CString operator+(const wchar_t* left, const CString& right) { return CString(left) += right; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }

    // printf-style formatting into this string.
    void Format(const wchar_t* format, ...);

private:
    static int ToIndex(size_t position) { return position == std::wstring::npos ? -1 : static_cast<int>(position); }

    std::wstring m_text;
};
