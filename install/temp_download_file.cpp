#include "temp_download_file.h"

TempDownloadFile::TempDownloadFile(const std::wstring& name) : m_name(name)
{
    m_file = ::_wfopen(name.c_str(), L"wb");
    if (!m_file)
        Fail();
}

TempDownloadFile::~TempDownloadFile()
{
    if (m_file)
        std::fclose(m_file);
}

void TempDownloadFile::Fail()
{
    if (!m_failed)
        m_error = ::GetLastError();
    m_failed = true;
}

bool TempDownloadFile::Write(const void* data, size_t size)
{
    if (!m_file || std::fwrite(data, 1, size, m_file) != size)
        Fail();
    return !m_failed;
}

bool TempDownloadFile::Close()
{
    if (!m_file)
        return !m_failed;
    if (std::fflush(m_file) != 0)
        Fail();
    if (std::fclose(m_file) != 0)
        Fail();
    m_file = nullptr;
    return !m_failed;
}

void TempDownloadFile::Discard()
{
    Close();
    ::DeleteFileW(m_name.c_str());
}
