#include "native_windows.h"

#include <windows.h>

namespace gui_test {

bool NativeWindowsIs64Bit()
{
    SYSTEM_INFO system{};
    ::GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture != PROCESSOR_ARCHITECTURE_INTEL;
}

}  // namespace gui_test
