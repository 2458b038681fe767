#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI bitmap: deleted when replaced or destroyed.
class CBitmap {
public:
    CBitmap() = default;
    explicit CBitmap(HBITMAP bitmap) : m_hObject(bitmap) {}
    ~CBitmap() { DeleteObject(); }
    CBitmap(CBitmap&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}
    CBitmap& operator=(CBitmap&& other) noexcept
    {
        if (this != &other) {
            DeleteObject();
            m_hObject = std::exchange(other.m_hObject, nullptr);
        }
        return *this;
    }

    void DeleteObject()
    {
        if (m_hObject)
            ::DeleteObject(m_hObject);
        m_hObject = nullptr;
    }

    HBITMAP m_hObject = nullptr;
};
