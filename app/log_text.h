#pragma once

#include <string>

// The setup token stands for this copy of the program: a log that may be
// passed around never shows it. Every occurrence becomes "***".
std::wstring MaskToken(std::wstring text, const std::wstring& token);

