#include "tools/termination_signal.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

namespace capsuletool {
namespace {

// The handler may only do what is safe in a signal handler: write the signal's number into a pipe,
// which Wait reads.
int signalPipe[2] = {-1, -1};

void RecordSignal(int number) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignal::TerminationSignal() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  // Wait blocks on the reading end; only the handler's writes must never block.
  ::fcntl(signalPipe[0], F_SETFL, 0);
  struct sigaction action = {};
  action.sa_handler = RecordSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  installed_ = ::sigaction(SIGINT, &action, &previousInterrupt_) == 0 &&
               ::sigaction(SIGTERM, &action, &previousTerminate_) == 0;
}

TerminationSignal::~TerminationSignal() {
  if (signalPipe[0] < 0) return;
  ::sigaction(SIGINT, &previousInterrupt_, nullptr);
  ::sigaction(SIGTERM, &previousTerminate_, nullptr);
  for (int& fd : signalPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

int TerminationSignal::Wait() {
  unsigned char byte = 0;
  for (;;) {
    const ssize_t got = ::read(signalPipe[0], &byte, 1);
    if (got == 1) return byte;
    if (got < 0 && errno == EINTR) continue;
    return SIGTERM;  // the pipe broke: nothing can arrive any more, so end as if asked to
  }
}

}  // namespace capsuletool
