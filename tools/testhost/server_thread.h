#pragma once

#include <string>
#include <thread>

#include <httplib.h>

namespace testhost {

// Runs one server of the HTTP library on a loopback port, on a thread of its
// own. The server can be closed and opened again.
class ServerThread {
 public:
  // `server` must outlive this object.
  ServerThread(httplib::Server& server, std::string name);
  ~ServerThread();
  ServerThread(const ServerThread&) = delete;
  ServerThread& operator=(const ServerThread&) = delete;

  // Port 0 asks for any free port.
  bool Open(int port, std::string& error);
  // Stops accepting at once, then waits until the connections in progress
  // are done with.
  void Close();
  bool IsOpen() const { return thread_.joinable(); }
  // The port it last listened on; 0 before it first did.
  int port() const { return port_; }

 private:
  httplib::Server& server_;
  std::string name_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace testhost
