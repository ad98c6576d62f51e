// TerminationSignal: lets a long-running command end cleanly on SIGINT (Ctrl-C) or SIGTERM.
//
// While an instance lives, those two signals no longer end the process at once: the first one that
// arrives (on any thread) is recorded, and Wait returns it, so the command can stop its work, remove
// what it made and exit with its own status. The handlers are installed with SA_RESTART, so the
// system calls of other threads carry on undisturbed. Destruction puts the previous handlers back.
//
// Thread safety: one instance at a time in a process; construct, Wait and destroy on one thread.

#ifndef ZORVCAPSULE_TOOLS_TERMINATION_SIGNAL_H_
#define ZORVCAPSULE_TOOLS_TERMINATION_SIGNAL_H_

#include <signal.h>

namespace capsuletool {

class TerminationSignal {
 public:
  TerminationSignal();
  TerminationSignal(const TerminationSignal&) = delete;
  TerminationSignal& operator=(const TerminationSignal&) = delete;
  ~TerminationSignal();

  // False when the handlers could not be installed; the signals then keep their usual effect.
  bool Installed() const { return installed_; }

  // Blocks until SIGINT or SIGTERM has arrived (also one that came before the call) and returns
  // its number.
  int Wait();

 private:
  bool installed_ = false;
  struct sigaction previousInterrupt_ = {};
  struct sigaction previousTerminate_ = {};
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TERMINATION_SIGNAL_H_
