// The raw data map plot through the Qt renderer, on the offscreen platform: no display needed.
#include <QGuiApplication>
#include <cstdio>

#include "main_plot_png.h"
#include "plot/raw_map_plot.h"
#include "ui/plot/png_export.h"
#include "workspace/workspace.h"

namespace tallimar::batch {
namespace {

// Standard error carries the status lines: Qt's own notes about the environment (such as a
// missing runtime folder) stay out of them; only its critical messages get through.
void criticalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

bool writeMainPlotPng(const workspace::Workspace& workspace, const std::string& path,
                      std::string& why) {
  // Painting needs a QGuiApplication; the batch has no window, so its platform is offscreen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QtMessageHandler previous = qInstallMessageHandler(criticalOnly);
  int argc = 1;
  char name[] = "tallimar-batch";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  QString error;
  const bool saved = ui::savePng(plot::rawMapPlot(workspace.rawMap, workspace.settings),
                                 QString::fromStdString(path), &error);
  if (!saved) why = error.toStdString();
  qInstallMessageHandler(previous);
  return saved;
}

}  // namespace tallimar::batch
