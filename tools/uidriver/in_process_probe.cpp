#include "in_process_probe.h"

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

InProcessProbe::InProcessProbe(HWND dialog)
    : dialog_(dialog),
      closeItemQuery_(RegisterWindowMessageW(hook::kCloseItemQueryName)),
      measureQuery_(RegisterWindowMessageW(hook::kMeasureQueryName)),
      dpiChangeQuery_(RegisterWindowMessageW(hook::kDpiChangeQueryName))
{
}

CloseItemState InProcessProbe::CloseItem() const
{
    const LRESULT answer = Ask(closeItemQuery_, 0);
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

std::optional<SIZE> InProcessProbe::Measure(int id, WORD what) const
{
    const LRESULT answer = Ask(measureQuery_, MAKEWPARAM(id, what));
    if (answer == hook::kNotMeasured)
        return std::nullopt;
    if ((answer & ~((hook::kMeasureMask << 15) | hook::kMeasureMask)) != hook::kMeasured)
        throw DriverError("the dialog gave an unknown answer to a measurement: " + std::to_string(answer));
    return SIZE{static_cast<LONG>(answer & hook::kMeasureMask), static_cast<LONG>((answer >> 15) & hook::kMeasureMask)};
}

void InProcessProbe::ChangeDpi(WORD dpi, SIZE windowSize) const
{
    if (Ask(dpiChangeQuery_, dpi, MAKELPARAM(windowSize.cx, windowSize.cy)) != hook::kAnswered)
        throw DriverError("the dialog did not take the DPI change");
}

// Subclasses the dialog through the hook when it does not answer yet.
LRESULT InProcessProbe::Ask(UINT query, WPARAM wParam, LPARAM lParam) const
{
    LRESULT answer = SendWithTimeout(dialog_, query, wParam, lParam);
    if (answer == 0) {
        SubclassThroughHook();
        answer = SendWithTimeout(dialog_, query, wParam, lParam);
    }
    return answer;
}

void InProcessProbe::SubclassThroughHook() const
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
    if (!PollUntil([this] { return SendWithTimeout(dialog_, closeItemQuery_, 0, 0) != 0; }, kSubclassTimeout))
        throw DriverError("the hook DLL did not take over the dialog");
}

}  // namespace uidriver
