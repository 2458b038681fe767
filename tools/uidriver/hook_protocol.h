#pragma once

#include <windows.h>

// What the driver and the hook DLL inside the dialog's process agree on.
namespace uidriver::hook {

constexpr wchar_t kDllName[] = L"uidriver_hook.dll";
constexpr char kHookProcedureName[] = "UidriverCallWndProc";

// Registered message that the subclassed dialog answers with the state of
// its system menu's Close item.
constexpr wchar_t kCloseItemQueryName[] = L"uidriver.CloseItemQuery";

// Every answer has kAnswered set: a dialog that is not subclassed yet
// returns 0 for a message it does not know.
constexpr LRESULT kAnswered = 0x100;
constexpr LRESULT kCloseEnabled = kAnswered | 1;
constexpr LRESULT kCloseGrayed = kAnswered | 2;
constexpr LRESULT kCloseMissing = kAnswered | 3;

}  // namespace uidriver::hook
