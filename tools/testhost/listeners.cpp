#include "listeners.h"

#include <algorithm>

#include "connect_proxy.h"
#include "route_listener.h"
#include "silent_listener.h"

namespace testhost {

Listeners::Listeners(const std::string& pki_dir, RouteTable& routes, RequestLog& requests) {
  auto https = [&](const std::string& name, const std::string& pki_name) {
    return std::make_unique<RouteListener>(name, pki_dir + "/" + pki_name + ".crt",
                                           pki_dir + "/" + pki_name + ".key", routes, requests);
  };
  listeners_.push_back({"download", &HostPorts::download, https("download", "localhost")});
  listeners_.push_back({"service", &HostPorts::service, https("service", "localhost")});
  listeners_.push_back({"untrusted", &HostPorts::untrusted, https("untrusted", "untrusted")});
  listeners_.push_back(
      {"plain", &HostPorts::plain, std::make_unique<RouteListener>("plain", routes, requests)});
  listeners_.push_back({"silent", &HostPorts::silent, std::make_unique<SilentListener>()});
  listeners_.push_back({"proxy", &HostPorts::proxy, std::make_unique<ConnectProxy>(routes, requests)});
}

bool Listeners::OpenAll(const HostPorts& requested, HostPorts& bound, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Named& named : listeners_) {
    if (!named.listener->Open(requested.*named.port, error)) return false;
    bound.*named.port = named.listener->port();
  }
  return true;
}

void Listeners::CloseAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Named& named : listeners_) named.listener->Close();
}

bool Listeners::Reset(std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  bool all_open = true;
  for (const Named& named : listeners_) {
    Listener& listener = *named.listener;
    if (!listener.IsOpen() && !listener.Open(listener.port(), error)) all_open = false;
    listener.Reset();
  }
  return all_open;
}

bool Listeners::Knows(const std::string& name) const { return Find(name) != nullptr; }

bool Listeners::SetOpen(const std::string& name, bool open, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  Listener* listener = Find(name);
  if (!listener) {
    error = "no listener named " + name;
    return false;
  }
  if (open) return listener->Open(listener->port(), error);
  listener->Close();
  return true;
}

std::optional<std::size_t> Listeners::ConnectionCount(const std::string& name) const {
  const Listener* listener = Find(name);
  return listener ? listener->ConnectionCount() : std::nullopt;
}

Listener* Listeners::Find(const std::string& name) const {
  const auto found = std::find_if(listeners_.begin(), listeners_.end(),
                                  [&name](const Named& named) { return named.name == name; });
  return found == listeners_.end() ? nullptr : found->listener.get();
}

}  // namespace testhost
