// tallimar: the desktop program.
#include <QApplication>

#include "ui/app/main_window.h"
#include "workspace/workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tallimar::workspace::Workspace workspace;
  tallimar::ui::MainWindow window(workspace);
  window.show();
  return QApplication::exec();
}
