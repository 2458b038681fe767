// A package held open, unchangeable, from its move into place to its installer's end.
#pragma once

#include <windows.h>

#include <string>

#include "safe_file.h"

// A package file held open for reading, sharing nothing but reading: while
// it is held no other process can write, replace, rename or delete it, and
// an installer that only reads it can still open it. Only the file the
// program wrote is held, never one a link or another file at its name
// leads to. The hold ends when the object goes or is released.
class HeldPackage {
public:
    HeldPackage() = default;
    // Opens `name` so when it is the file `written`; not held otherwise,
    // with the system's error, or 0 when it is another file.
    static HeldPackage Open(const std::wstring& name, const FileIdentity& written);
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

// How a package is held once it is in place: HeldPackage::Open, or a test's
// step before it.
using HoldPackageFunction = HeldPackage (*)(const std::wstring& name, const FileIdentity& written);
