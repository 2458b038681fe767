#include "system_menu_probe.h"

#include "driver_error.h"
#include "executable_directory.h"
#include "hook_protocol.h"
#include "polling.h"
#include "unique_handle.h"
#include "window_messages.h"

namespace uidriver {

namespace {

constexpr Milliseconds kSubclassTimeout{3000};

}  // namespace

SystemMenuProbe::SystemMenuProbe(HWND dialog)
    : dialog_(dialog), query_(RegisterWindowMessageW(hook::kCloseItemQueryName))
{
}

CloseItemState SystemMenuProbe::CloseItem() const
{
    LRESULT answer = Ask();
    if (answer == 0) {
        SubclassThroughHook();
        answer = Ask();
    }
    switch (answer) {
    case hook::kCloseEnabled:
        return CloseItemState::Enabled;
    case hook::kCloseGrayed:
        return CloseItemState::Grayed;
    case hook::kCloseMissing:
        return CloseItemState::Missing;
    }
    throw DriverError("the dialog gave an unknown answer about its Close item: " + std::to_string(answer));
}

LRESULT SystemMenuProbe::Ask() const
{
    return SendWithTimeout(dialog_, query_, 0, 0);
}

void SystemMenuProbe::SubclassThroughHook() const
{
    const auto dllPath = ExecutableDirectory() / hook::kDllName;
    const LibraryHandle library(LoadLibraryW(dllPath.c_str()));
    if (!library)
        throw DriverError("cannot load " + dllPath.u8string());
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), hook::kHookProcedureName)));
    if (!procedure)
        throw DriverError(dllPath.u8string() + " has no " + hook::kHookProcedureName);

    const DWORD dialogThread = GetWindowThreadProcessId(dialog_, nullptr);
    const HookHandle hook(SetWindowsHookExW(WH_CALLWNDPROC, procedure, library.get(), dialogThread));
    if (!hook)
        throw DriverError("cannot hook the dialog's thread, error " + std::to_string(GetLastError()));
    // The hook subclasses while it sees a query; whether that query already
    // reaches the subclass depends on the system, so ask until one does.
    if (!PollUntil([this] { return Ask() != 0; }, kSubclassTimeout))
        throw DriverError("the hook DLL did not take over the dialog");
}

}  // namespace uidriver
