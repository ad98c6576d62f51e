// RunProgram: runs a built program of this folder (the `capsule` tool, the README example) for a
// test and collects what it did: its exit status and everything it wrote to standard output and
// standard error. BackgroundProgram leaves one running (a server) while the test talks to it. Test
// code only.
//
// The program runs with a small fixed environment: TMPDIR is the test's own folder, so the
// library's caches and the tool's temporary folders stay inside it, and the locale is "C", so the
// application language is "en_US". Output goes to files in that folder, so a program that writes
// much can never block on a full pipe; the call waits for the program to end.
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

// The fixed environment, with `extraEnvironment` ("NAME=VALUE" texts) added.
inline std::vector<std::string> ProgramEnvironment(const std::filesystem::path& tempFolder,
                                                   const std::vector<std::string>& extraEnvironment) {
  std::vector<std::string> environment{"TMPDIR=" + tempFolder.string(), "LC_ALL=C", "PATH=/usr/bin:/bin"};
  // A sanitizer build's settings (suppressions, leak checking) hold for the program as for the test.
  for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
  }
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  return environment;
}

// Pointers into `texts`, null-terminated, as execve wants them.
inline std::vector<char*> NullTerminated(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts `program` with its standard input from /dev/null and its output where `actions` send it;
// 0 when it could not be started.
inline pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& tempFolder, const std::vector<std::string>& extraEnvironment,
                          posix_spawn_file_actions_t& actions) {
  std::vector<std::string> texts{program};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = ProgramEnvironment(tempFolder, extraEnvironment);
  const std::vector<char*> argv = NullTerminated(texts);
  const std::vector<char*> envp = NullTerminated(environment);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return 0;
  }
  return child;
}

// Waits for `child` to end; its exit status, or -1 when it did not exit normally.
inline int WaitForProgram(pid_t child) {
  int wait = 0;
  while (waitpid(child, &wait, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
}

// `extraEnvironment` ("NAME=VALUE" texts) is added to the fixed environment.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& tempFolder,
                             const std::vector<std::string>& extraEnvironment = {}) {
  const std::filesystem::path outPath = tempFolder / ".run-stdout";
  const std::filesystem::path errPath = tempFolder / ".run-stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ProgramRun run;
  const pid_t child = SpawnProgram(program, arguments, tempFolder, extraEnvironment, actions);
  if (child == 0) return run;
  run.status = WaitForProgram(child);
  run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return run;
}

// A program left running in the background (a server, a watching catalogue), in the same
// environment as RunProgram. Its standard output is read while it runs; its standard error goes to
// a file. A program still running when the object goes is killed.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& tempFolder, const std::vector<std::string>& extraEnvironment = {})
      : errPath_(tempFolder / ".background-stderr") {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
      ADD_FAILURE() << "cannot make a pipe";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    child_ = SpawnProgram(program, arguments, tempFolder, extraEnvironment, actions);
    ::close(pipe[1]);
    out_ = pipe[0];
  }
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;
  // Asks a program still running to end as a user would (SIGTERM), so that it leaves as it does in
  // use; one that has not ended after a generous wait is killed.
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

  // Sends `signal` and waits for the program to end; its exit status, or -1 when it did not exit
  // normally.
  int Stop(int signal) {
    if (child_ == 0) return -1;
    ::kill(child_, signal);
    const int status = WaitForProgram(child_);
    child_ = 0;
    return status;
  }

  // What it wrote to standard error so far.
  std::string Err() const { return ReadWholeFile(errPath_); }

 private:
  // Reads what the program printed within `waitMs`; false when nothing came or the output ended.
  bool ReadMore(int waitMs) const {
    pollfd ready{out_, POLLIN, 0};
    if (out_ < 0 || ::poll(&ready, 1, waitMs) <= 0) return false;
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

// Prints a run's output when an expectation about it fails.
inline std::string Describe(const ProgramRun& run) {
  return "status " + std::to_string(run.status) + "\n--- stdout\n" + run.out + "--- stderr\n" + run.err;
}

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEST_TOOL_RUNNER_H_
