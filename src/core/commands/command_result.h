// How a command ended: the one result every command returns to its window or to
// tallimar-batch. What the command said to the user is already on the status list or in a
// message box; the result only tells the caller what to do next.
#pragma once

namespace tallimar::commands {

enum class CommandStatus {
  Done,       // the command ran to its end
  Cancelled,  // the user cancelled a question or a file dialog; nothing (more) was changed
  Refused,    // there was nothing to do, or the input was refused before anything changed
  Failed,     // the command failed or stopped early; its status lines say why
};

struct [[nodiscard]] CommandResult {
  CommandStatus status = CommandStatus::Done;
  // Working data that a window shows (raw data map, VE table, filtered map) changed: redraw.
  bool changed = false;
  // Inputs the command passed over while it went on to its end (a chosen datalog that could
  // not be read): the status lines name them; tallimar-batch fails its run on any.
  int inputsRefused = 0;

  static CommandResult done(bool changedData = false) { return {CommandStatus::Done, changedData}; }
  static CommandResult cancelled() { return {CommandStatus::Cancelled, false}; }
  static CommandResult refused() { return {CommandStatus::Refused, false}; }
  static CommandResult failed(bool changedData = false) {
    return {CommandStatus::Failed, changedData};
  }

  bool ok() const { return status == CommandStatus::Done; }
};

}  // namespace tallimar::commands
