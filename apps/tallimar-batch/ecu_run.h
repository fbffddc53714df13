// The ECU commands of tallimar-batch, run to their end on a serial device. They need the
// serial port of the Qt build (TALLIMAR_BUILD_UI); without it every command is refused.
#pragma once

#include <string>

#include "common/prompts.h"
#include "common/status_log.h"
#include "workspace/workspace.h"

namespace tallimar::batch {

enum class EcuStep { Read, Send, SendAndBurn };

// Runs the step as the window's "MS CPU" menu does, with its reply timer of "DataRate" x 5
// ms; the verify's burn question is answered Yes only for SendAndBurn. Messages go through
// `prompts`. False when the command failed or was refused, or cannot run in this build
// (`error` then says why).
bool runEcuStep(EcuStep step, workspace::Workspace& ws, const std::string& device,
                common::Prompts& prompts, common::StatusLog& status, std::string& error);

}  // namespace tallimar::batch
