// Security descriptors that let only administrators, and the user when
// asked, open what the program creates.
#include "object_security.h"

#include <sddl.h>

#include <utility>
#include <vector>

namespace {

// Full control for SYSTEM and Administrators; "P": nothing inherited.
constexpr wchar_t kAdministrators[] = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";
constexpr wchar_t kSystemSid[] = L"S-1-5-18";

// The user the program runs as, as a string SID; empty if unknown.
std::wstring UserSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::vector<BYTE> user(256);
    DWORD size = 0;
    const bool known = ::GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    ::CloseHandle(token);
    wchar_t* text = nullptr;
    if (!known || !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        return {};
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
}

}  // namespace

ObjectSecurity::ObjectSecurity(const std::wstring& sddl)
{
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                &m_attributes.lpSecurityDescriptor, nullptr))
        m_attributes.lpSecurityDescriptor = nullptr;
}

ObjectSecurity::ObjectSecurity(ObjectSecurity&& other) noexcept
    : m_attributes(std::exchange(other.m_attributes, {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE}))
{
}

ObjectSecurity::~ObjectSecurity()
{
    ::LocalFree(m_attributes.lpSecurityDescriptor);
}

ObjectSecurity ObjectSecurity::AdministratorsOnly()
{
    return ObjectSecurity(kAdministrators);
}

ObjectSecurity ObjectSecurity::AdministratorsAndUser()
{
    const std::wstring user = UserSid();
    // Without knowing the user, only administrators: nobody else reads it.
    if (user.empty() || user == kSystemSid)
        return AdministratorsOnly();
    return ObjectSecurity(kAdministrators + (L"(A;;FRFW;;;" + user + L")"));
}

ObjectSecurity ObjectSecurity::OwnedByAdministrators()
{
    return ObjectSecurity(std::wstring(L"O:BA") + kAdministrators);
}

bool IsSystemOrAdministrators(PSID sid)
{
    return sid && (::IsWellKnownSid(sid, WinLocalSystemSid) || ::IsWellKnownSid(sid, WinBuiltinAdministratorsSid));
}
