// frmMSMain: the main window of the program.
#include "ui/app/main_window.h"

namespace tallimar::ui {

MainWindow::MainWindow(workspace::Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), m_workspace(workspace) {
  setObjectName("frmMSMain");
  setWindowTitle(QString("Tallimar V%1.%2.%3")
                     .arg(TALLIMAR_VERSION_MAJOR)
                     .arg(TALLIMAR_VERSION_MINOR)
                     .arg(TALLIMAR_VERSION_PATCH));
}

}  // namespace tallimar::ui
