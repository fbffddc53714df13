// tallimar-ecu-sim started for one test: its device, and a stop that waits for its end.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QProcess>
#include <QStringList>
#include <string>

namespace tallimar::ui::testing {

// The CPU time this process has used so far, user and system, in seconds.
inline double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class SimProcess {
 public:
  // Starts the simulator with the options and waits for the device it prints.
  explicit SimProcess(const QStringList& options) {
    m_process.setProgram(QStringLiteral(TALLIMAR_ECU_SIM));
    m_process.setArguments(options);
    m_process.start();
    if (!m_process.waitForStarted(5000)) return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    device = m_process.readLine().trimmed().toStdString();
  }
  ~SimProcess() { stop(); }

  // SIGTERM, then the exit status (0 for a clean stop); -1 if it did not end.
  int stop() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.terminate();
      if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
        return -1;
      }
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
  }
  // What it logged on standard error.
  std::string log() { return m_process.readAllStandardError().toStdString(); }

  std::string device;

 private:
  QProcess m_process;
};

}  // namespace tallimar::ui::testing
