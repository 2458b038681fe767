#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace uidriver {

// Releases a Win32 handle with the function that owns its kind.
template <auto Release>
struct HandleReleaser {
    template <typename Handle>
    void operator()(Handle handle) const
    {
        Release(handle);
    }
};

// Owns one Win32 handle; a null handle owns nothing.
template <typename Handle, auto Release>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleReleaser<Release>>;

using KernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using LibraryHandle = UniqueHandle<HMODULE, &FreeLibrary>;
using HookHandle = UniqueHandle<HHOOK, &UnhookWindowsHookEx>;

}  // namespace uidriver
