#include "temp_download_file.h"

#include <windows.h>

#include "ansi_text.h"

TempDownloadFile::TempDownloadFile(const std::wstring& name) : m_name(name)
{
    m_file = std::fopen(ToThreadAnsi(name).c_str(), "wb");
}

TempDownloadFile::~TempDownloadFile()
{
    if (m_file)
        std::fclose(m_file);
}

bool TempDownloadFile::Write(const void* data, size_t size)
{
    if (!m_file || std::fwrite(data, 1, size, m_file) != size)
        m_failed = true;
    return !m_failed;
}

bool TempDownloadFile::Close()
{
    if (!m_file)
        return !m_failed;
    if (std::fflush(m_file) != 0)
        m_failed = true;
    if (std::fclose(m_file) != 0)
        m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

void TempDownloadFile::Discard()
{
    Close();
    ::DeleteFileW(m_name.c_str());
}
