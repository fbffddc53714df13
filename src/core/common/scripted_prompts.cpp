// Scripted answers for prompts, with a record of what was asked.
#include "common/scripted_prompts.h"

namespace tallimar::common {

Answer ScriptedPrompts::message(const std::string& title, const std::string& text,
                                MessageButtons buttons, MessageIcon icon) {
  asked.push_back({"message", title, text, buttons, icon, {}});
  if (!answers.empty()) {
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      return Answer::Ok;
    case MessageButtons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::vector<std::string> ScriptedPrompts::openFiles(const FileRequest& request, bool) {
  asked.push_back(
      {"open", request.title, request.filter, MessageButtons::Ok, MessageIcon::None, request});
  if (openAnswers.empty()) return {};
  auto files = openAnswers.front();
  openAnswers.pop_front();
  return files;
}

std::optional<std::string> ScriptedPrompts::saveFile(const FileRequest& request) {
  asked.push_back(
      {"save", request.title, request.filter, MessageButtons::Ok, MessageIcon::None, request});
  if (saveAnswers.empty()) return std::nullopt;
  auto file = saveAnswers.front();
  saveAnswers.pop_front();
  return file;
}

std::optional<Rgb> ScriptedPrompts::chooseColour(Rgb) {
  asked.push_back({"colour", "", "", MessageButtons::Ok, MessageIcon::None, {}});
  if (colourAnswers.empty()) return std::nullopt;
  auto colour = colourAnswers.front();
  colourAnswers.pop_front();
  return colour;
}

}  // namespace tallimar::common
