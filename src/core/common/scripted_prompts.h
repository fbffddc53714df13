// ScriptedPrompts: answers prompts from queues filled in advance and records every question.
// Used by tests and by tallimar-batch. An empty queue answers as a user who cancels
// (Cancel / No / Ok for message boxes by their buttons, no file, no colour).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/prompts.h"

namespace tallimar::common {

class ScriptedPrompts : public Prompts {
 public:
  struct Question {
    std::string kind;  // "message", "open", "save" or "colour"
    std::string title;
    std::string text;  // the message text, or the file request's filter
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    FileRequest request;
  };

  Answer message(const std::string& title, const std::string& text, MessageButtons buttons,
                 MessageIcon icon) override;
  std::vector<std::string> openFiles(const FileRequest& request, bool several) override;
  std::optional<std::string> saveFile(const FileRequest& request) override;
  std::optional<Rgb> chooseColour(Rgb initial) override;

  std::deque<Answer> answers;
  std::deque<std::vector<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<Rgb>> colourAnswers;
  std::vector<Question> asked;
};

}  // namespace tallimar::common
