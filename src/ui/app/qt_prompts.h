// The program's Prompts: Qt message boxes, file dialogs and the colour dialog, each modal
// to the window given (or application-modal without one).
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "common/prompts.h"

namespace tallimar::ui {

class QtPrompts : public common::Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
  void setParent(QWidget* parent) { m_parent = parent; }

  common::Answer message(const std::string& title, const std::string& text,
                         common::MessageButtons buttons, common::MessageIcon icon) override;
  std::vector<std::string> openFiles(const common::FileRequest& request, bool several) override;
  std::optional<std::string> saveFile(const common::FileRequest& request) override;
  std::optional<common::Rgb> chooseColour(common::Rgb initial) override;

  // A request's filter as Qt name filters: "*.vex;*.dmp" gives "*.vex *.dmp"; the
  // "Description|pattern|Description|pattern" form gives one "Description (pattern)" each.
  static QStringList nameFilters(const std::string& filter);

 private:
  QPointer<QWidget> m_parent;
};

}  // namespace tallimar::ui
