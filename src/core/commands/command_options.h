// The few things a command needs from its caller besides the workspace, the prompts and the
// status log.
#pragma once

#include <functional>
#include <string>

#include "formats/datalog_reader.h"

namespace tallimar::commands {

struct CommandOptions {
  // The program's own folder: the initial folder of the file dialogs that start there.
  std::string programFolder;
  // Called while a datalog is read (bytes read, file size); may process pending window
  // events. Returning false cancels the read and ends the command. May be empty.
  formats::ReadProgress progress;
  // The current date and time as "date time" in the user's usual text form, for the titles
  // of the crossover export. Empty: the local time in the C library's locale ("%x %X").
  std::function<std::string()> dateTime;
};

// The name of a file without its folder, as the status and crossover lists show it.
std::string fileNameOf(const std::string& path);

}  // namespace tallimar::commands
