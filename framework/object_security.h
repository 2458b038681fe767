// Who may open what the program creates where other users and their
// programs can reach it.
#pragma once

#include <windows.h>

#include <string>

// A security descriptor of the program's own, freed when the object goes.
// Nothing is inherited into it: whatever the folder or namespace would hand
// down, only the entries named here may open the object.
class ObjectSecurity {
public:
    // SYSTEM and the Administrators group with full control.
    static ObjectSecurity AdministratorsOnly();
    // The same, and read and write for the user who runs the program (when
    // that is not SYSTEM): for what its administrator reads afterwards.
    static ObjectSecurity AdministratorsAndUser();
    // The administrators' descriptor with the Administrators group as owner:
    // what another copy of the program, elevated or SYSTEM, reads back.
    static ObjectSecurity OwnedByAdministrators();

    ~ObjectSecurity();
    ObjectSecurity(ObjectSecurity&& other) noexcept;
    ObjectSecurity(const ObjectSecurity&) = delete;
    ObjectSecurity& operator=(const ObjectSecurity&) = delete;
    ObjectSecurity& operator=(ObjectSecurity&&) = delete;

    // For a create call; null when the descriptor could not be made (the
    // last error then says why).
    SECURITY_ATTRIBUTES* Attributes() { return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr; }

private:
    explicit ObjectSecurity(const std::wstring& sddl);
    SECURITY_ATTRIBUTES m_attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// Whether `sid` is SYSTEM or the Administrators group: the owners of what
// only an elevated process creates.
bool IsSystemOrAdministrators(PSID sid);
