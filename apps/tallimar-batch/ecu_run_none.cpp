// Without Qt there is no serial port: the ECU commands are refused.
#include "ecu_run.h"

namespace tallimar::batch {

bool runEcuStep(EcuStep, workspace::Workspace&, const std::string&, common::Prompts&,
                common::StatusLog&, std::string& error) {
  error = "the ECU commands need the build with Qt (its serial port)";
  return false;
}

}  // namespace tallimar::batch
