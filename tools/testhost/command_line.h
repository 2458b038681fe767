#pragma once

#include <optional>
#include <string>

#include "test_host.h"

namespace testhost {

struct CommandLine {
  std::string pki_dir;
  HostPorts ports;
};

extern const char kUsage[];

// Reads "--pki DIR" and the optional "--control-port N", "--download-port N",
// "--service-port N", "--untrusted-port N", "--plain-port N" and
// "--silent-port N". On a mistake, returns nothing
// and says what was wrong in `error`.
std::optional<CommandLine> ParseCommandLine(int argc, const char* const argv[],
                                            std::string& error);

}  // namespace testhost
