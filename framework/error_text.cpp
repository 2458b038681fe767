// A system or WinINet error's number with the system's text for it.
#include "error_text.h"

#include <wininet.h>

#include <cwchar>

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

std::wstring WithText(const std::wstring& number, DWORD code)
{
    const std::wstring message = MessageOf(code);
    return number + L" (" + (message.empty() ? L"no text" : message) + L")";
}

}  // namespace

std::wstring ErrorText(DWORD error)
{
    return WithText(std::to_wstring(error), error);
}

std::wstring ErrorNote(const std::wstring& what, DWORD error)
{
    return what + L": " + ErrorText(error);
}

std::wstring HresultText(DWORD code)
{
    wchar_t number[11] = {};
    std::swprintf(number, ARRAYSIZE(number), L"0x%08lX", static_cast<unsigned long>(code));
    return WithText(number, code);
}
