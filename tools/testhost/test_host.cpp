#include "test_host.h"

#include <sys/socket.h>

#include <chrono>
#include <initializer_list>

#include "control_api.h"
#include "served_routes.h"

namespace testhost {
namespace {

constexpr char kLoopback[] = "127.0.0.1";

// The library's default, SO_REUSEPORT, would let a second host listen beside
// a running one and split the connections between them. SO_REUSEADDR alone
// still lets a restarted host take ports whose old connections linger.
void ReuseAddressOnly(socket_t socket) {
  const int yes = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

std::string PkiFile(const std::string& pki_dir, const char* name) {
  return pki_dir + "/" + name;
}

}  // namespace

TestHost::TestHost(const std::string& pki_dir)
    : download_(PkiFile(pki_dir, "localhost.crt").c_str(), PkiFile(pki_dir, "localhost.key").c_str()),
      service_(PkiFile(pki_dir, "localhost.crt").c_str(), PkiFile(pki_dir, "localhost.key").c_str()),
      untrusted_(PkiFile(pki_dir, "untrusted.crt").c_str(),
                 PkiFile(pki_dir, "untrusted.key").c_str()) {
  ServeControlApi(control_, routes_, requests_);
  for (httplib::Server* server :
       std::initializer_list<httplib::Server*>{&control_, &download_, &service_, &untrusted_}) {
    server->set_socket_options(ReuseAddressOnly);
  }
  for (httplib::Server* server : {&download_, &service_, &untrusted_}) {
    ServeRoutes(*server, routes_, requests_, stopping_);
    // One request per connection: a response whose declared length exceeds
    // its body can then end with an orderly TLS close instead of a stall.
    server->set_keep_alive_max_count(1);
  }
}

TestHost::~TestHost() { Stop(); }

bool TestHost::Start(const HostPorts& requested, std::string& error) {
  if (!download_.is_valid() || !untrusted_.is_valid()) {
    error = "cannot load the certificates and keys of the test PKI";
    return false;
  }
  return Listen(control_, "control", requested.control, ports_.control, error) &&
         Listen(download_, "download", requested.download, ports_.download, error) &&
         Listen(service_, "service", requested.service, ports_.service, error) &&
         Listen(untrusted_, "untrusted", requested.untrusted, ports_.untrusted, error);
}

bool TestHost::Listen(httplib::Server& server, const char* name, int requested, int& bound,
                      std::string& error) {
  bound = requested == 0 ? server.bind_to_any_port(kLoopback)
                         : (server.bind_to_port(kLoopback, requested) ? requested : -1);
  if (bound <= 0) {
    error = std::string("cannot listen on ") + kLoopback + ":" + std::to_string(requested) +
            " (" + name + ")";
    return false;
  }
  threads_.emplace_back([&server] { server.listen_after_bind(); });
  listening_.push_back(&server);
  // stop() only reaches a server that has begun to accept.
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return true;
}

void TestHost::Stop() {
  stopping_.Raise();
  for (httplib::Server* server : listening_) server->stop();
  for (std::thread& thread : threads_) thread.join();
  listening_.clear();
  threads_.clear();
}

}  // namespace testhost
