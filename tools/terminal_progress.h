// TerminalProgress: a one-line progress display on standard error, for a person watching long work.
//
// It shows only when standard error is a terminal, so scripts, pipes and logs never see it; each
// Show rewrites the line in place, and Clear (or destruction) erases it so that the result printed
// afterwards starts on a clean line. Standard output is never touched.
//
// Thread safety: use from one thread.

#ifndef ZORVCAPSULE_TOOLS_TERMINAL_PROGRESS_H_
#define ZORVCAPSULE_TOOLS_TERMINAL_PROGRESS_H_

#include <chrono>
#include <cstddef>
#include <string>

namespace capsuletool {

class TerminalProgress {
 public:
  // Shows nothing when standard error is not a terminal.
  TerminalProgress();
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;
  ~TerminalProgress();

  bool Enabled() const { return enabled_; }

  // Replaces the line with `text`. Repeated calls within a tenth of a second draw only the first,
  // so a fast loop may call it on every step.
  void Show(const std::string& text);
  // "text done/total".
  void ShowCount(const std::string& text, size_t done, size_t total);
  void Clear();

 private:
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TERMINAL_PROGRESS_H_
