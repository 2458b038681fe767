#include "error_text.h"

#include <wininet.h>

namespace {

// The system's message for the error; WinINet keeps its own in its module.
std::wstring MessageOf(DWORD error)
{
    const bool internet = error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST;
    const HMODULE source = internet ? ::GetModuleHandleW(L"wininet.dll") : nullptr;
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
            (source ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM),
        source, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

}  // namespace

std::wstring ErrorText(DWORD error)
{
    const std::wstring message = MessageOf(error);
    return std::to_wstring(error) + L" (" + (message.empty() ? L"no text" : message) + L")";
}
