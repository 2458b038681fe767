#pragma once

#include <windows.h>

#include <string>

// A package file held open for reading, sharing nothing but reading: while
// it is held no other process can write, replace, rename or delete it, and
// an installer that only reads it can still open it. The hold ends when the
// object goes or is released.
class HeldPackage {
public:
    HeldPackage() = default;
    // Opens `name` so; not held when that fails, with the system's error.
    static HeldPackage Open(const std::wstring& name);
    ~HeldPackage() { Release(); }
    HeldPackage(HeldPackage&& other) noexcept;
    HeldPackage& operator=(HeldPackage&& other) noexcept;
    HeldPackage(const HeldPackage&) = delete;
    HeldPackage& operator=(const HeldPackage&) = delete;

    bool IsHeld() const { return m_file != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return m_file; }
    const std::wstring& name() const { return m_name; }
    DWORD Error() const { return m_error; }
    void Release();

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_name;
    DWORD m_error = 0;
};
