// Writes one serialized MsgWebResponse, setting only the fields asked for:
//   make_web_response --out FILE [--status N] [--url U] [--command C]
// A status that is no WebResponseStatus value is still written, as the raw
// field, so tests can serve what a newer service might send.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "msgwebresponse-copy.pb.h"

namespace {

using com::tarvic::vem::messaging::MsgWebResponse;
using com::tarvic::vem::messaging::WebResponseStatus;
using com::tarvic::vem::messaging::WebResponseStatus_IsValid;

constexpr char kUsage[] = "usage: make_web_response --out FILE [--status N] [--url U] [--command C]\n";

// Field 1 as varint, encoded by hand for values the generated setter refuses.
// Fields are serialized in number order, so it belongs at the very front.
std::string RawStatusField(std::int32_t status) {
  std::string field(1, '\x08');
  // Negative int32 values are sign-extended to ten bytes on the wire.
  auto value = static_cast<std::uint64_t>(static_cast<std::int64_t>(status));
  do {
    const auto low = static_cast<char>(value & 0x7f);
    value >>= 7;
    field.push_back(value ? static_cast<char>(low | 0x80) : low);
  } while (value);
  return field;
}

std::optional<std::int32_t> ParseStatus(const std::string& text) {
  try {
    std::size_t used = 0;
    const long value = std::stol(text, &used);
    if (used != text.size() || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  std::map<std::string, std::string> options;
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 == argc || (name != "--out" && name != "--status" && name != "--url" &&
                          name != "--command")) {
      std::cerr << kUsage;
      return 2;
    }
    options[name] = argv[i + 1];
  }
  if (!options.count("--out")) {
    std::cerr << kUsage;
    return 2;
  }

  MsgWebResponse response;
  if (options.count("--url")) response.set_patch_download_url(options["--url"]);
  if (options.count("--command")) response.set_patch_install_command(options["--command"]);
  std::string prefix;
  if (options.count("--status")) {
    const auto status = ParseStatus(options["--status"]);
    if (!status) {
      std::cerr << "make_web_response: --status needs a whole number\n";
      return 2;
    }
    if (WebResponseStatus_IsValid(*status)) {
      response.set_status(static_cast<WebResponseStatus>(*status));
    } else {
      prefix = RawStatusField(*status);
    }
  }

  std::string bytes;
  if (!response.SerializeToString(&bytes)) {
    std::cerr << "make_web_response: cannot serialize the response\n";
    return 1;
  }
  std::ofstream out(options["--out"], std::ios::binary | std::ios::trunc);
  out << prefix << bytes;
  out.close();
  if (!out) {
    std::cerr << "make_web_response: cannot write " << options["--out"] << "\n";
    return 1;
  }
  return 0;
}
