// "Scale VE" (`frmScaleVE`), opened by "Scale LD Map": multiplies the active VE values by
// old / new required-fuel pulse width. A zero width is refused with a message and the dialog
// stays open; a scaled table is shown and plotted again by the window.
#pragma once

#include <QDialog>
#include <functional>

#include "common/prompts.h"
#include "workspace/workspace.h"

class QLineEdit;

namespace tallimar::ui {

class ScaleVeDialog : public QDialog {
  Q_OBJECT
 public:
  // tableRewritten runs after the table was scaled (the window redisplays and replots).
  ScaleVeDialog(workspace::Workspace& workspace, common::Prompts& prompts,
                std::function<void()> tableRewritten, QWidget* parent = nullptr);

  // "OK" (`Command1`).
  void accept() override;

 private:
  workspace::Workspace& m_ws;
  common::Prompts& m_prompts;
  std::function<void()> m_tableRewritten;
  QLineEdit* m_oldPw = nullptr;
  QLineEdit* m_newPw = nullptr;
};

}  // namespace tallimar::ui
