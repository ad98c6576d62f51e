// RunProgram runs a built program of this folder (the `capsule` tool, the README example) for a test
// and collects its exit status and all it wrote; BackgroundProgram leaves one running (a server, a
// watching catalogue) while the test talks to it. Test code only.
//
// Programs run with a small fixed environment: TMPDIR is the test's own folder, so the library's
// caches and the tool's temporary folders stay inside it, and the locale is "C", so the application
// language is "en_US". Standard input is /dev/null, standard error goes to a file.
//
// Thread safety: call from the test's thread.

#ifndef ZORVCAPSULE_TOOLS_TEST_TOOL_RUNNER_H_
#define ZORVCAPSULE_TOOLS_TEST_TOOL_RUNNER_H_

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace capsuletool {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// Its exit status, or -1 when it did not exit normally.
inline int WaitForProgram(pid_t child) {
  int wait = 0;
  while (waitpid(child, &wait, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
}

// A program started in the fixed environment with `extraEnvironment` ("NAME=VALUE" texts) added. Its
// standard output is read through a pipe, as it comes or all at once (so it never blocks on a full
// pipe); its standard error goes to a file named after the object. A program still running when the
// object goes is asked to end as a user would (SIGTERM), and killed only when it has not ended after
// a generous wait.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& tempFolder, const std::vector<std::string>& extraEnvironment = {})
      : errPath_(tempFolder / (".stderr-" + std::to_string(reinterpret_cast<uintptr_t>(this)))) {
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment{"TMPDIR=" + tempFolder.string(), "LC_ALL=C", "PATH=/usr/bin:/bin"};
    // A sanitizer build's settings (suppressions, leak checking) hold for the program as for the test.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
      ADD_FAILURE() << "cannot make a pipe";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&child_, program.c_str(), &actions, nullptr, Pointers(texts).data(),
                    Pointers(environment).data()) != 0) {
      ADD_FAILURE() << "cannot start " << program;
      child_ = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    out_ = pipe[0];
  }
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;
  ~BackgroundProgram() {
    if (child_ != 0) {
      ::kill(child_, SIGTERM);
      const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (::waitpid(child_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > limit) {
          ::kill(child_, SIGKILL);
          WaitForProgram(child_);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    if (out_ >= 0) ::close(out_);
    std::filesystem::remove(errPath_);
  }

  // Every complete line printed so far (a line still being written is left for later).
  std::vector<std::string> OutLines() const {
    while (ReadMore(0)) {
    }
    std::vector<std::string> lines;
    std::istringstream stream(printed_.substr(0, printed_.find_last_of('\n') + 1));
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }

  // Waits, up to a generous limit, until the lines printed so far satisfy `done`.
  bool WaitForOutput(const std::function<bool(const std::vector<std::string>&)>& done,
                     std::chrono::seconds within = std::chrono::minutes(2)) const {
    const auto limit = std::chrono::steady_clock::now() + within;
    while (!done(OutLines())) {
      if (std::chrono::steady_clock::now() > limit) return false;
      ReadMore(20);
    }
    return true;
  }

  // Sends `signal` and waits for the program to end; its exit status as WaitForProgram gives it.
  int Stop(int signal) {
    if (child_ == 0) return -1;
    ::kill(child_, signal);
    return Finish();
  }

  // Reads the output to its end and waits for the program to end by itself.
  ProgramRun Run() {
    while (ReadMore(-1)) {
    }
    ProgramRun run;
    run.status = child_ == 0 ? -1 : Finish();
    run.out = printed_;
    run.err = Err();
    return run;
  }

  // What it wrote to standard error so far.
  std::string Err() const { return ReadWholeFile(errPath_); }

 private:
  // Pointers into `texts`, null-terminated, as execve wants them.
  static std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
  }
  int Finish() {
    const int status = WaitForProgram(child_);
    child_ = 0;
    return status;
  }
  // Reads what the program printed within `waitMs` (-1: until something comes); false when nothing
  // came or the output ended.
  bool ReadMore(int waitMs) const {
    pollfd ready{out_, POLLIN, 0};
    int polled;
    while ((polled = out_ < 0 ? 0 : ::poll(&ready, 1, waitMs)) < 0 && errno == EINTR) {
    }
    if (polled <= 0) return false;
    char chunk[4096];
    const ssize_t got = ::read(out_, chunk, sizeof(chunk));
    if (got <= 0) return false;
    printed_.append(chunk, static_cast<size_t>(got));
    return true;
  }

  std::filesystem::path errPath_;
  pid_t child_ = 0;
  int out_ = -1;
  mutable std::string printed_;  // everything read from standard output so far
};

// Runs `program` to its end; `extraEnvironment` ("NAME=VALUE" texts) is added to the fixed one.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& tempFolder,
                             const std::vector<std::string>& extraEnvironment = {}) {
  return BackgroundProgram(program, arguments, tempFolder, extraEnvironment).Run();
}

// Prints a run's output when an expectation about it fails.
inline std::string Describe(const ProgramRun& run) {
  return "status " + std::to_string(run.status) + "\n--- stdout\n" + run.out + "--- stderr\n" + run.err;
}

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEST_TOOL_RUNNER_H_
