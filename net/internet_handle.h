// The owner of a WinINet handle, and the network time-outs set on one.
#pragma once

#include <windows.h>
#include <wininet.h>

// Owns one WinINet handle and closes it when it goes.
class InternetHandle {
public:
    InternetHandle() = default;
    explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~InternetHandle() { Close(); }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    InternetHandle& operator=(HINTERNET handle)
    {
        Close();
        m_handle = handle;
        return *this;
    }
    HINTERNET get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    void Close()
    {
        if (m_handle)
            ::InternetCloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HINTERNET m_handle = nullptr;
};

// Bounds WinINet's connect, send and receive waits on everything opened
// through this internet handle.
inline void SetNetworkTimeouts(HINTERNET internet, DWORD timeoutMs)
{
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(internet, option, &timeoutMs, sizeof(timeoutMs));
}
