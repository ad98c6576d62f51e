// BackgroundProgram: runs a built program of this folder (the `capsule` tool) for a test while the
// test goes on, so that the test can change files under it, watch what it prints and stop it with a
// signal. Test code only.
//
// The program gets the environment RunProgram gives (test_tool_runner.h): TMPDIR is the test's own
// folder and the locale is "C". Its output goes to files in that folder; OutLines reads what it has
// written so far. A program still running when the object goes is killed.
//
// Thread safety: use from the test's thread.

#ifndef ZORVCAPSULE_TOOLS_TEST_BACKGROUND_PROGRAM_H_
#define ZORVCAPSULE_TOOLS_TEST_BACKGROUND_PROGRAM_H_

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tools/test_tool_runner.h"

namespace capsuletool {

class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& tempFolder)
      : outPath_(tempFolder / ".background-stdout"), errPath_(tempFolder / ".background-stderr") {
    std::vector<std::string> texts{program};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment{"TMPDIR=" + tempFolder.string(), "LC_ALL=C", "PATH=/usr/bin:/bin"};
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& text : environment) envp.push_back(text.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&child_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
      ADD_FAILURE() << "cannot start " << program;
      child_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;
  ~BackgroundProgram() {
    if (child_ > 0) {
      ::kill(child_, SIGKILL);
      Wait();
    }
  }

  // The complete lines printed so far (a line still being written is left for later).
  std::vector<std::string> OutLines() const {
    std::string text = ReadWholeFile(outPath_);
    text.erase(text.find_last_of('\n') == std::string::npos ? 0 : text.find_last_of('\n') + 1);
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }
  std::string Err() const { return ReadWholeFile(errPath_); }

  // Waits, up to a generous limit, until the lines printed so far satisfy `done`.
  bool WaitForOutput(const std::function<bool(const std::vector<std::string>&)>& done) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done(OutLines())) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  // Sends `signal` and returns the exit status once the program has ended (-1 when it did not exit).
  int Stop(int signal) {
    if (child_ <= 0) return -1;
    ::kill(child_, signal);
    return Wait();
  }

 private:
  int Wait() {
    int wait = 0;
    while (waitpid(child_, &wait, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    return WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  }

  std::filesystem::path outPath_;
  std::filesystem::path errPath_;
  pid_t child_ = -1;
};

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEST_BACKGROUND_PROGRAM_H_
