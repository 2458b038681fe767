#pragma once

#include <string>

#include "msgwebresponse-copy.pb.h"

namespace gui_test {

// A successful answer of the web service carrying Patch Management details.
com::tarvic::vem::messaging::MsgWebResponse PatchDetailsAnswer(const std::string& url, const std::string& command);

}  // namespace gui_test
