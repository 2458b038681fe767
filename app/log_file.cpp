#include "log_file.h"

#include <cwchar>
#include <utility>

#include "ansi_text.h"
#include "log_text.h"
#include "safe_file.h"

namespace {

std::wstring Timestamp()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

}  // namespace

LogFile::LogFile(const std::wstring& path)
    : m_path(path),
      m_file(CreateNewFile(path, GENERIC_WRITE, FILE_SHARE_READ, FileOpeners::AdministratorsAndUser))
{
}

LogFile::~LogFile()
{
    if (IsOpen())
        ::CloseHandle(m_file);
}

void LogFile::Mask(const std::wstring& secret)
{
    CSingleLock hold(m_lock);
    m_secrets.push_back(secret);
}

void LogFile::Write(const std::wstring& line)
{
    if (!IsOpen())
        return;
    CSingleLock hold(m_lock);
    std::wstring masked = line;
    for (const std::wstring& secret : m_secrets)
        masked = MaskToken(std::move(masked), secret);
    const std::string bytes = ToUtf8(Timestamp() + masked + L"\r\n");
    DWORD written = 0;
    ::WriteFile(m_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
