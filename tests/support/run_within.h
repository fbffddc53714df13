// Running a piece of a test in a child process with a time limit, so that a read that blocks
// (a FIFO without a writer) fails its test instead of hanging the whole suite.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace tallimar::testsupport {

inline constexpr int kHung = -1;     // did not finish in time (and was killed)
inline constexpr int kCrashed = -2;  // ended by a signal

// The exit code of body() run in a forked child, kHung or kCrashed.
inline int runWithin(std::chrono::milliseconds limit, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return kCrashed;
  if (child == 0) ::_exit(body());
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return kHung;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kCrashed;
}

}  // namespace tallimar::testsupport
