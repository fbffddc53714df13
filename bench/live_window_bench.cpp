// The live-data window polling tallimar-ecu-sim over a pseudo-terminal at "DataRate" 50 for
// 30 seconds (--seconds N to change), offscreen. Prints the samples shown against the polls
// sent, the program's CPU time as a share of the wall time, and how late the poll timer
// ticked at worst against its 50 ms.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "common/scripted_prompts.h"
#include "settings/serial_device.h"
#include "support/sim_process.h"
#include "ui/ecu/acquire_window.h"

int main(int argc, char** argv) {
  using namespace tallimar;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int seconds = 30;
  const QStringList args = QApplication::arguments();
  if (const auto at = args.indexOf("--seconds"); at >= 0 && at + 1 < args.size())
    seconds = std::max(1, args[at + 1].toInt());

  testsupport::SimProcess sim({});
  if (sim.device.empty()) {
    std::fprintf(stderr, "tallimar-ecu-sim did not start\n");
    return 1;
  }
  workspace::Workspace workspace;
  workspace.settings.comPort = 1;
  workspace.settings.dataRate = 50;
  settings::MemorySettingsStore store;
  settings::saveSerialDevice(store, 1, sim.device);
  common::ScriptedPrompts prompts;
  auto* window = new ui::AcquireWindow(workspace, store, prompts, {});
  window->show();

  QElapsedTimer sinceTick;
  qint64 latestTickMs = 0;
  long ticks = 0;
  QObject::connect(window->findChild<QTimer*>("tmrComm"), &QTimer::timeout, [&] {
    if (ticks++ > 0) latestTickMs = std::max(latestTickMs, sinceTick.elapsed());
    sinceTick.restart();
  });

  const double cpuBefore = testsupport::cpuSeconds();
  QElapsedTimer wall;
  wall.start();
  window->findChild<QPushButton*>("cmdStartComm")->click();
  QEventLoop loop;
  QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
  loop.exec();
  const double wallSeconds = static_cast<double>(wall.elapsed()) / 1000.0;
  const double cpu = testsupport::cpuSeconds() - cpuBefore;

  const ecu::Acquisition& acq = window->acquisition();
  const long polls = acq.requestsSent();
  const long samples = acq.indicators().samples;
  std::printf("live window, DataRate 50 ms, %.1f s against tallimar-ecu-sim\n", wallSeconds);
  std::printf("  polls sent      %ld (%.1f per second)\n", polls,
              static_cast<double>(polls) / wallSeconds);
  std::printf("  samples shown   %ld (%.4f of the polls; one may be in flight at the end)\n",
              samples, polls ? static_cast<double>(samples) / static_cast<double>(polls) : 0.0);
  std::printf("  poll ticks      %ld, longest gap %lld ms (interval 50 ms)\n", ticks,
              static_cast<long long>(latestTickMs));
  std::printf("  CPU time        %.3f s = %.2f %% of the wall time\n", cpu,
              100.0 * cpu / wallSeconds);
  std::printf("  messages        %zu\n", prompts.asked.size());
  window->close();
  return 0;
}
