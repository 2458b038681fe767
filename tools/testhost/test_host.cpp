#include "test_host.h"

#include "control_api.h"

namespace testhost {

TestHost::TestHost(const std::string& pki_dir)
    : listeners_(pki_dir, routes_, requests_), control_thread_(control_, "control") {
  ServeControlApi(control_, routes_, requests_, listeners_);
}

TestHost::~TestHost() { Stop(); }

bool TestHost::Start(const HostPorts& requested, std::string& error) {
  if (!control_thread_.Open(requested.control, error)) return false;
  ports_.control = control_thread_.port();
  return listeners_.OpenAll(requested, ports_, error);
}

void TestHost::Stop() {
  // The control API first: none of its calls may reopen a listener meanwhile.
  control_thread_.Close();
  listeners_.CloseAll();
}

}  // namespace testhost
