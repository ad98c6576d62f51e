#include "tools/terminal_progress.h"

#include <unistd.h>

#include <cstdio>

namespace capsuletool {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval(100);

}  // namespace

TerminalProgress::TerminalProgress() : enabled_(isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::Show(const std::string& text) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  shown_ = true;
  // Carriage return, the text, then erase whatever a longer earlier text left on the line.
  std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
  std::fflush(stderr);
}

void TerminalProgress::ShowCount(const std::string& text, size_t done, size_t total) {
  Show(text + " " + std::to_string(done) + "/" + std::to_string(total));
}

void TerminalProgress::Clear() {
  if (!enabled_ || !shown_) return;
  std::fprintf(stderr, "\r\x1b[K");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace capsuletool
