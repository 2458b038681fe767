#pragma once

#include <windows.h>

#include <string>

// Conversions through the thread's ANSI code page (CP_THREAD_ACP), the one
// code page the program uses between UTF-16 and 8-bit text. Characters
// outside it become the code page's default character.
std::string ToThreadAnsi(const std::wstring& text);
std::wstring FromThreadAnsi(const std::string& text);
