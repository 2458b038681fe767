#include "command_line.h"

#include <cstdint>
#include <map>

#include "decimal.h"

namespace testhost {

const char kUsage[] =
    "usage: testhost --pki DIR [--control-port 47440] [--download-port 47443]\n"
    "                [--service-port 47444] [--untrusted-port 47445]\n"
    "                [--plain-port 47446] [--silent-port 47447] [--proxy-port 47448]\n"
    "Serves on 127.0.0.1: the control API (plain HTTP), the download and service\n"
    "routes (HTTPS, certificate of the test CA in DIR), the same routes with the\n"
    "certificate of an unrelated CA (untrusted) and over plain HTTP (plain), and\n"
    "a listener that accepts connections and never answers (silent), and a CONNECT\n"
    "proxy that tunnels to loopback ports or answers for them itself (proxy).\n";

std::optional<CommandLine> ParseCommandLine(int argc, const char* const argv[],
                                            std::string& error) {
  CommandLine line;
  const std::map<std::string, int*> port_options = {
      {"--control-port", &line.ports.control},
      {"--download-port", &line.ports.download},
      {"--service-port", &line.ports.service},
      {"--untrusted-port", &line.ports.untrusted},
      {"--plain-port", &line.ports.plain},
      {"--silent-port", &line.ports.silent},
      {"--proxy-port", &line.ports.proxy},
  };
  for (int i = 1; i < argc; i += 2) {
    const std::string option = argv[i];
    if (i + 1 == argc) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string value = argv[i + 1];
    if (option == "--pki") {
      line.pki_dir = value;
      continue;
    }
    const auto port_option = port_options.find(option);
    if (port_option == port_options.end()) {
      error = "unknown option " + option;
      return std::nullopt;
    }
    const auto port = ParseDecimal(value);
    if (!port || *port > UINT16_MAX) {
      error = option + " needs a port number, not '" + value + "'";
      return std::nullopt;
    }
    *port_option->second = static_cast<int>(*port);
  }
  if (line.pki_dir.empty()) {
    error = "--pki is required";
    return std::nullopt;
  }
  return line;
}

}  // namespace testhost
