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

std::string ToUtf8(const std::wstring& text)
{
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                              nullptr);
    return result;
}

std::optional<std::wstring> FromUtf8(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                          length);
    return text;
}
