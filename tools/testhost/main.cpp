// Loopback test host for the download manager's tests: serves routes that
// tests set up through a plain HTTP control API, misbehaves in the ways they
// ask for, and records what it was sent.
#include <csignal>
#include <iostream>
#include <string>

#include <pthread.h>

#include "command_line.h"
#include "test_host.h"

int main(int argc, char* argv[]) {
  std::string error;
  const auto line = testhost::ParseCommandLine(argc, argv, error);
  if (!line) {
    std::cerr << "testhost: " << error << "\n" << testhost::kUsage;
    return 2;
  }

  // Termination requests are taken by sigwait below; blocking them before any
  // server thread exists keeps them from landing on those threads.
  sigset_t termination;
  sigemptyset(&termination);
  sigaddset(&termination, SIGTERM);
  sigaddset(&termination, SIGINT);
  pthread_sigmask(SIG_BLOCK, &termination, nullptr);
  // A client that hangs up mid-body must cost a failed write, not the process.
  std::signal(SIGPIPE, SIG_IGN);

  testhost::TestHost host(line->pki_dir);
  if (!host.Start(line->ports, error)) {
    std::cerr << "testhost: " << error << "\n";
    return 1;
  }
  std::cout << "testhost ready" << std::endl;

  int received = 0;
  sigwait(&termination, &received);
  host.Stop();
  return 0;
}
