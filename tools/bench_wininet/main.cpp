// The baseline for download benchmarks: a bare WinINet read loop of 1024-byte
// chunks into a buffered file, as the program reads, without any dialog.
// Usage: bench_wininet URL OUTFILE; prints bytes and seconds as JSON.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: bench_wininet URL OUTFILE\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    // Timed like the program: from opening the URL to the last byte.
    ::QueryPerformanceCounter(&start);
    HINTERNET internet = ::InternetOpenW(L"Mozilla/4.0 (compatible) Poison", INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                         nullptr, 0);
    HINTERNET request = ::InternetOpenUrlW(internet, argv[1], nullptr, 0, 0, 0);
    FILE* file = _wfopen(argv[2], L"wb");
    if (!request || !file) {
        std::fwprintf(stderr, L"bench_wininet: cannot open (%lu)\n", ::GetLastError());
        return 1;
    }

    char buffer[1024];
    unsigned long long total = 0;
    DWORD read = 0;
    while (::InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0) {
        std::fwrite(buffer, 1, read, file);
        total += read;
    }
    ::QueryPerformanceCounter(&end);
    std::fclose(file);
    ::InternetCloseHandle(request);
    ::InternetCloseHandle(internet);

    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    std::printf("{\"bytes\": %llu, \"seconds\": %.3f}\n", total, seconds);
    return 0;
}
