// Text through the thread's ANSI code page.
#pragma once

#include <windows.h>

#include <string>

// Conversions through the thread's ANSI code page (CP_THREAD_ACP), the one
// code page the program uses between UTF-16 and 8-bit text. Characters
// outside it become the code page's default character: never a look-alike
// ("best fit"), which could turn a harmless character into a path separator.
std::string ToThreadAnsi(const std::wstring& text);
std::wstring FromThreadAnsi(const std::string& text);

// The text as it reads after a pass through the thread's ANSI code page.
// Local file names are made this way once, when they are named, so that one
// name serves every operation on the file.
std::wstring ThroughThreadAnsi(const std::wstring& text);
