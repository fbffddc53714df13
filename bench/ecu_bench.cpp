// Read VE Map and Send + verify through QSerialPort against the simulated ECU, which paces
// its replies as a 9600-baud line does. Each command's wall time is set against the time its
// reply takes on the line, measured in the same run (write "V", wait for 125 bytes), and
// against the line time computed from the byte counts. A 1 ms timer measures the longest
// stall of the event loop while the commands run: the window would freeze for that long.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "commands/ecu_commands.h"
#include "common/prompts.h"
#include "ui/ecu/ecu_reply_timers.h"
#include "ui/ecu/qt_serial_link.h"

namespace {

using namespace tallimar;

constexpr int kRuns = 7;

class NoBurn : public common::Prompts {
 public:
  common::Answer message(const std::string&, const std::string& text, common::MessageButtons,
                         common::MessageIcon) override {
    if (text != commands::kOfferBurn) std::fprintf(stderr, "message: %s\n", text.c_str());
    return common::Answer::No;
  }
  std::vector<std::string> openFiles(const common::FileRequest&, bool) override { return {}; }
  std::optional<std::string> saveFile(const common::FileRequest&) override { return {}; }
  std::optional<common::Rgb> chooseColour(common::Rgb) override { return {}; }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Time from "V" to the notification that 125 bytes of the reply are waiting.
double rawReplyMs(ui::QtSerialLink& link, const std::string& device) {
  if (!link.open(device)) return -1;
  bool arrived = false;
  link.notifyWhenWaiting(125, [&arrived] { arrived = true; });
  QElapsedTimer clock;
  clock.start();
  const std::array<std::uint8_t, 1> read{'V'};
  (void)link.write(read);
  QTimer giveUp;
  giveUp.start(2000);
  while (!arrived && giveUp.isActive())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  link.notifyWhenWaiting(0, nullptr);
  link.close();
  return arrived ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QProcess sim;
  sim.start(QStringLiteral(TALLIMAR_ECU_SIM),
            {QStringLiteral("--line-speed"), QStringLiteral("9600")});
  if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) return 1;
  const std::string device = sim.readLine().trimmed().toStdString();

  workspace::Workspace ws;
  ws.veTable.setStartupBins();
  NoBurn prompts;
  common::VectorStatusLog status;
  ui::QtSerialLink link;
  std::optional<commands::CommandResult> finished;
  std::unique_ptr<commands::EcuCommands> ecu;
  ui::EcuReplyTimers timers([&](commands::EcuTimer t) { ecu->timerFired(t); });
  ecu = std::make_unique<commands::EcuCommands>(
      ws, link, prompts, status,
      commands::EcuCommandHooks{[&](commands::EcuTimer t) { timers.start(t); },
                                [&](commands::CommandResult r) { finished = r; }});

  QElapsedTimer sinceTick;
  qint64 longestStall = 0;
  QTimer ticker;
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longestStall = std::max(longestStall, sinceTick.restart()); });

  auto timeCommand =
      [&](commands::CommandResult (commands::EcuCommands::*start)(const std::string&)) {
        finished.reset();
        QElapsedTimer clock;
        clock.start();
        if (!((*ecu).*start)(device).ok()) return -1.0;
        while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return finished->ok() ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : -1.0;
      };

  std::vector<double> raw;
  for (int i = 0; i < kRuns; ++i) raw.push_back(rawReplyMs(link, device));
  const double rawMs = median(raw);
  std::printf("Line: 125 bytes at 9600 baud = %.1f ms; 240 + 125 bytes = %.1f ms\n",
              125 * 10 * 1000.0 / 9600, 365 * 10 * 1000.0 / 9600);
  std::printf("Baseline: \"V\" to the 125th byte through the port, measured: %.1f ms\n\n", rawMs);
  std::printf("%-8s %-16s %10s %10s %12s\n", "DataRate", "command", "wall ms", "x baseline",
              "stall ms");
  for (const int dataRate : {50, 30}) {
    timers.setDataRate(dataRate);
    for (const auto& [name, start] :
         {std::pair{"Read VE Map", &commands::EcuCommands::readVeMap},
          std::pair{"Send + verify", &commands::EcuCommands::sendVeMap}}) {
      std::vector<double> walls;
      longestStall = 0;
      sinceTick.start();
      ticker.start();
      for (int i = 0; i < kRuns; ++i) walls.push_back(timeCommand(start));
      ticker.stop();
      const double wall = median(walls);
      std::printf("%-8d %-16s %10.1f %10.2f %12lld\n", dataRate, name, wall, wall / rawMs,
                  static_cast<long long>(longestStall));
    }
  }
  sim.terminate();
  sim.waitForFinished();
  return 0;
}
