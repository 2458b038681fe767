// Text through the thread's ANSI code page, and UTF-8.
#pragma once

#include <windows.h>

#include <optional>
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

// UTF-8, for the program's own text files (its log, a layout's manifest).
// FromUtf8 gives nothing for bytes that are not UTF-8.
std::string ToUtf8(const std::wstring& text);
std::optional<std::wstring> FromUtf8(const std::string& bytes);
