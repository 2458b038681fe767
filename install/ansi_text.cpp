#include "ansi_text.h"

std::string ToThreadAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                             0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                              nullptr, nullptr);
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
