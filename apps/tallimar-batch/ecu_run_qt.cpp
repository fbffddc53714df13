// The ECU commands over QSerialPort, with an event loop of their own until they end.
#include <QCoreApplication>
#include <QEventLoop>
#include <memory>
#include <optional>

#include "commands/ecu_commands.h"
#include "ecu_run.h"
#include "ui/common/ecu_reply_timers.h"
#include "ui/common/qt_serial_link.h"

namespace tallimar::batch {
namespace {

void ensureCoreApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tallimar-batch";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

bool runEcuStep(EcuStep step, workspace::Workspace& ws, const std::string& device,
                common::Prompts& prompts, common::StatusLog& status, std::string&) {
  ensureCoreApplication();
  QEventLoop loop;
  std::optional<commands::CommandResult> finished;
  ui::QtSerialLink link;
  std::unique_ptr<commands::EcuCommands> ecu;
  ui::EcuReplyTimers timers([&ecu](commands::EcuTimer t) { ecu->timerFired(t); });
  timers.setDataRate(ws.settings.dataRate);
  ecu = std::make_unique<commands::EcuCommands>(
      ws, link, prompts, status,
      commands::EcuCommandHooks{[&timers](commands::EcuTimer t) { timers.start(t); },
                                [&](commands::CommandResult r) {
                                  finished = r;
                                  loop.quit();
                                }});
  const commands::CommandResult started =
      step == EcuStep::Read ? ecu->readVeMap(device) : ecu->sendVeMap(device);
  if (!started.ok()) return false;
  if (!finished) loop.exec();  // every command ends at its reply timer at the latest
  return finished && finished->ok();
}

}  // namespace tallimar::batch
