// Conversions through the thread's ANSI code page, without best-fit look-alikes.
#include "ansi_text.h"

namespace {

// WC_NO_BEST_FIT_CHARS is refused for code pages that have no best fit
// (UTF-8 among them); those convert exactly or to the default character anyway.
int ToAnsi(const std::wstring& text, char* out, int outLength)
{
    const int length = static_cast<int>(text.size());
    const int converted =
        ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out, outLength, nullptr, nullptr);
    if (converted == 0 && ::GetLastError() == ERROR_INVALID_FLAGS)
        return ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, out, outLength, nullptr, nullptr);
    return converted;
}

}  // namespace

std::string ToThreadAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = ToAnsi(text, nullptr, 0);
    std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ToAnsi(text, result.data(), length);
    return result;
}

std::wstring FromThreadAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length =
        ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::wstring ThroughThreadAnsi(const std::wstring& text)
{
    return FromThreadAnsi(ToThreadAnsi(text));
}
