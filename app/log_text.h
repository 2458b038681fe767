#pragma once

#include <string>
#include <vector>

// The setup token stands for this copy of the program: a log that may be
// passed around never shows it. Every occurrence becomes "***".
std::wstring MaskToken(std::wstring text, const std::wstring& token);

// The texts a secret given as an argument can leave in the raw command
// line: itself, and, when it holds quotation marks, its escaped form (each
// '"' as '\"', the backslashes before it doubled). Longest first, so that
// masking them in order leaves no piece of either.
std::vector<std::wstring> CommandLineForms(const std::wstring& secret);

// A details-log line as one line of the log file: without its line end.
std::wstring WithoutLineEnd(std::wstring line);
