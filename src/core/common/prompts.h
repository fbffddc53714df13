// Prompts: every message box, file choice and colour choice a command asks the user.
// The program answers them with Qt dialogs, tests and tallimar-batch with scripted answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/rgb.h"

namespace tallimar::common {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class Answer { Ok, Cancel, Yes, No };

// A file dialog as the commands describe it. filter is the pattern list the user sees,
// e.g. "*.xls" or "*.vex;*.dmp"; defaultExtension (without ".") is appended to a typed
// name that has none.
struct FileRequest {
  std::string title;
  std::string filter;
  std::string presetName;
  std::string defaultExtension;
  std::string initialFolder;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message box. Message boxes of the program are titled "Tallimar" unless a command
  // says otherwise. Returns the button pressed; closing the box counts as Cancel (or as
  // No for a Yes/No box, or Ok for an Ok box).
  virtual Answer message(const std::string& title, const std::string& text, MessageButtons buttons,
                         MessageIcon icon) = 0;
  // Open dialog for one or several files; an empty list means the user cancelled.
  virtual std::vector<std::string> openFiles(const FileRequest& request, bool several) = 0;
  // Save dialog; nullopt means the user cancelled.
  virtual std::optional<std::string> saveFile(const FileRequest& request) = 0;
  // Colour dialog starting at initial; nullopt means the user cancelled.
  virtual std::optional<Rgb> chooseColour(Rgb initial) = 0;
};

}  // namespace tallimar::common
