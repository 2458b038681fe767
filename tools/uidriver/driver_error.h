#pragma once

#include <stdexcept>

namespace uidriver {

// The dialog could not be read or driven: it is gone, hung, or lacks the control.
class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace uidriver
