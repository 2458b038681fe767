#pragma once

#include <windows.h>

#include <optional>

namespace gui_test {

// The display scale of programs started from now on, set through the
// current user's LogPixels (Wine reads it when a program starts) and put
// back as it was when the object goes.
class PrefixDpi {
public:
    explicit PrefixDpi(DWORD dpi);
    ~PrefixDpi();
    PrefixDpi(const PrefixDpi&) = delete;
    PrefixDpi& operator=(const PrefixDpi&) = delete;

private:
    std::optional<DWORD> previous_;
};

}  // namespace gui_test
