// tallimar-ecu-sim for one test or benchmark (plain POSIX; the includer defines TALLIMAR_ECU_SIM).
#pragma once

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace tallimar::testsupport {

// The CPU time this process has used so far, user and system, in seconds.
inline double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class SimProcess {
 public:
  // Starts it and waits up to 5 s for the device on its first line (empty: it did not start).
  explicit SimProcess(std::vector<std::string> options) {
    int out[2];
    const int log = mkstemp(m_logPath.data());
    if (log < 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, log, STDERR_FILENO);
    options.insert(options.begin(), TALLIMAR_ECU_SIM);
    std::vector<char*> argv;
    for (std::string& word : options) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(log);
    m_out = out[0];
    pollfd ready{m_out, POLLIN, 0};
    std::string line;
    char c = 0;
    while (m_pid > 0 && poll(&ready, 1, 5000) > 0 && read(m_out, &c, 1) == 1 && c != '\n')
      line += c;
    if (c == '\n') device = line;
  }
  // SIGTERM, and SIGKILL when it has not ended within 5 s.
  ~SimProcess() {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      int status = 0, wait = 0;
      while (waitpid(m_pid, &status, WNOHANG) == 0 && ++wait < 500) usleep(10000);
      if (wait == 500) kill(m_pid, SIGKILL), waitpid(m_pid, &status, 0);
    }
    close(m_out);
    unlink(m_logPath.c_str());
  }
  // What it logged on standard error so far.
  std::string log() const {
    std::ifstream in(m_logPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::string device;

 private:
  std::string m_logPath = "/tmp/tallimar-sim-log-XXXXXX";
  pid_t m_pid = 0;
  int m_out = -1;
};

}  // namespace tallimar::testsupport
