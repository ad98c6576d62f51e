// RunProgram: runs a built program of this folder (the `capsule` tool, the README example) for a
// test and collects what it did: its exit status and everything it wrote to standard output and
// standard error. Test code only.
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
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
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

// `extraEnvironment` ("NAME=VALUE" texts) is added to the fixed environment.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& tempFolder,
                             const std::vector<std::string>& extraEnvironment = {}) {
  const std::filesystem::path outPath = tempFolder / ".run-stdout";
  const std::filesystem::path errPath = tempFolder / ".run-stderr";
  std::vector<std::string> texts{program};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment{"TMPDIR=" + tempFolder.string(), "LC_ALL=C", "PATH=/usr/bin:/bin"};
  // A sanitizer build's settings (suppressions, leak checking) hold for the program as for the test.
  for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
  }
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> envp;
  for (auto& text : environment) envp.push_back(text.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t child = 0;
  ProgramRun run;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }
  int wait = 0;
  while (waitpid(child, &wait, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wait)) run.status = WEXITSTATUS(wait);
  run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return run;
}

// Prints a run's output when an expectation about it fails.
inline std::string Describe(const ProgramRun& run) {
  return "status " + std::to_string(run.status) + "\n--- stdout\n" + run.out + "--- stderr\n" + run.err;
}

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEST_TOOL_RUNNER_H_
