#pragma once

// Serves a virtual radio on a pseudo-terminal, so that any program that opens serial
// devices, Tallisk with its real port backend included, can talk to it. A pseudo-terminal
// has no modem lines and no baud rate: the radio paces its answers itself when asked to.

#include <atomic>
#include <string>

#include "sim/VirtualRadio.h"

namespace tallisk::sim {

class PtyServer {
 public:
  explicit PtyServer(VirtualRadio& radio);  // raises TalliskError when no pty can be had
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // The device a client opens, such as /dev/pts/3.
  const std::string& DevicePath() const { return path_; }

  // Serves until `stop` becomes true (checked at least every 50 ms).
  void Run(const std::atomic<bool>& stop);

 private:
  VirtualRadio& radio_;
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

}  // namespace tallisk::sim
