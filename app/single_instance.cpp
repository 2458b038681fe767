#include "single_instance.h"

#include <aclapi.h>

#include <string>

#include "error_text.h"
#include "object_security.h"

namespace {

constexpr wchar_t kEventName[] = L"Global\\VTADOWNLOADERAPP";

// Whether SYSTEM or the Administrators group owns the event open on `event`.
bool OwnedByAnAdministrator(HANDLE event)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(event, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                          &descriptor) != ERROR_SUCCESS)
        return false;
    const bool administrator = IsSystemOrAdministrators(owner);
    ::LocalFree(descriptor);
    return administrator;
}

HANDLE CreateGuardedEvent()
{
    ObjectSecurity security = ObjectSecurity::OwnedByAdministrators();
    HANDLE event = ::CreateEventW(security.Attributes(), FALSE, FALSE, kEventName);
    // A token that may not name the Administrators group as owner leaves it
    // to the token's default owner.
    if (!event && ::GetLastError() == ERROR_INVALID_OWNER) {
        ObjectSecurity unowned = ObjectSecurity::AdministratorsOnly();
        event = ::CreateEventW(unowned.Attributes(), FALSE, FALSE, kEventName);
    }
    return event;
}

void Note(LogFile* log, const std::wstring& line)
{
    if (log)
        log->Write(line);
}

}  // namespace

InstanceClaim ClaimSingleInstance(LogFile* log)
{
    const HANDLE created = CreateGuardedEvent();
    const DWORD error = ::GetLastError();
    if (created && error != ERROR_ALREADY_EXISTS)
        return {created, false};
    // It exists: opened above, or, when its security keeps us from using
    // it, just to read its owner.
    const HANDLE existing = created ? created : ::OpenEventW(READ_CONTROL, FALSE, kEventName);
    if (!existing) {
        Note(log, ErrorNote(L"The single-instance event exists but cannot be opened; going on", error));
        return {};
    }
    const bool administrator = OwnedByAnAdministrator(existing);
    ::CloseHandle(existing);
    if (administrator)
        return {nullptr, true};
    Note(log, L"The single-instance event is held by a process that is not elevated; going on");
    return {};
}
