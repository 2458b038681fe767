#include "service_answer.h"

namespace gui_test {

com::tarvic::vem::messaging::MsgWebResponse PatchDetailsAnswer(const std::string& url, const std::string& command)
{
    com::tarvic::vem::messaging::MsgWebResponse answer;
    answer.set_status(com::tarvic::vem::messaging::SUCCESS);
    answer.set_patch_download_url(url);
    answer.set_patch_install_command(command);
    return answer;
}

}  // namespace gui_test
