#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tallisk/errors.h"

namespace tallisk::sim {
namespace {

Nanos Now() {
  return std::chrono::duration_cast<Nanos>(std::chrono::steady_clock::now().time_since_epoch());
}

constexpr Nanos kLongestWait = std::chrono::milliseconds(50);

[[noreturn]] void Fail(const std::string& what) {
  throw TalliskError(ErrInvalidArgument, "PtyServer", what + ": " + std::strerror(errno));
}

}  // namespace

PtyServer::PtyServer(VirtualRadio& radio) : radio_(radio) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) Fail("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) Fail("grantpt");
  const char* name = ptsname(master_);
  if (name == nullptr) Fail("ptsname");
  path_ = name;
  // Holding the slave side open keeps the pty alive between the client's opens (otherwise
  // the master reads end-of-file each time the client closes), and making it raw keeps the
  // line discipline from echoing or translating before the client sets its own mode.
  slave_ = open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) Fail("open " + path_);
  termios t{};
  if (tcgetattr(slave_, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
  }
}

PtyServer::~PtyServer() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

void PtyServer::Run(const std::atomic<bool>& stop) {
  char buffer[512];
  while (!stop.load()) {
    Nanos wait = kLongestWait;
    if (auto next = radio_.NextOutputTime())
      wait = std::clamp(*next - Now(), Nanos(0), kLongestWait);
    pollfd p{master_, POLLIN, 0};
    const int timeoutMs =
        static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    if (poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN)) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      const Nanos at = Now();
      for (ssize_t i = 0; i < n; ++i) radio_.Receive(buffer[i], at);
    }
    const std::string out = radio_.TakeOutput(Now());
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = write(master_, out.data() + done, out.size() - done);
      if (n < 0 && errno != EINTR && errno != EAGAIN) break;
      if (n > 0) done += static_cast<std::size_t>(n);
    }
  }
  // What the client wrote before the stop still reaches the radio.
  pollfd p{master_, POLLIN, 0};
  while (poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) radio_.Receive(buffer[i], Now());
  }
}

}  // namespace tallisk::sim
