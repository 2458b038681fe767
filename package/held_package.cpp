// Holding the very package file the program wrote.
#include "held_package.h"

#include <utility>

HeldPackage HeldPackage::Open(const std::wstring& name, const FileIdentity& written)
{
    HeldPackage held;
    held.m_name = name;
    held.m_file = OpenSameFile(name, GENERIC_READ, FILE_SHARE_READ, FILE_FLAG_SEQUENTIAL_SCAN, written);
    if (!held.IsHeld())
        held.m_error = ::GetLastError();
    return held;
}

HeldPackage::HeldPackage(HeldPackage&& other) noexcept
    : m_file(std::exchange(other.m_file, INVALID_HANDLE_VALUE)), m_name(std::move(other.m_name)),
      m_error(other.m_error)
{
}

HeldPackage& HeldPackage::operator=(HeldPackage&& other) noexcept
{
    if (this != &other) {
        Release();
        m_file = std::exchange(other.m_file, INVALID_HANDLE_VALUE);
        m_name = std::move(other.m_name);
        m_error = other.m_error;
    }
    return *this;
}

void HeldPackage::Release()
{
    if (IsHeld())
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}
