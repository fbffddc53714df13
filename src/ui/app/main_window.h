// frmMSMain: the main window of the program.
#pragma once

#include <QMainWindow>

#include "workspace/workspace.h"

namespace tallimar::ui {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(workspace::Workspace& workspace, QWidget* parent = nullptr);

 private:
  workspace::Workspace& m_workspace;
};

}  // namespace tallimar::ui
