// What the file commands of the main window (and tallimar-batch) share: how a command ended,
// and the few things a command needs from its caller besides the workspace and the prompts.
#pragma once

#include <functional>
#include <string>

#include "files/datalog_reader.h"

namespace tallimar::files {

enum class CommandResult {
  Done,       // the command ran to its end
  Cancelled,  // the user cancelled a question or a file dialog; nothing (more) was changed
  Refused,    // there was nothing to do ("Nothing to save")
  Failed,     // the command failed or stopped early; its status lines say why
};

struct CommandOptions {
  // The program's own folder: the initial folder of the file dialogs that start there.
  std::string programFolder;
  // Called while a datalog is read (bytes read, file size); may process pending window
  // events. Returning false cancels the read and ends the command. May be empty.
  ReadProgress progress;
  // The current date and time as "date time" in the user's usual text form, for the titles
  // of the crossover export. Empty: the local time in the C library's locale ("%x %X").
  std::function<std::string()> dateTime;
};

// The name of a file without its folder, as the status and crossover lists show it.
std::string fileNameOf(const std::string& path);

}  // namespace tallimar::files
