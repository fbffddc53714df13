// frmMSMain's commands: the file commands on the worker thread, the plot refresh and the
// clear operation, "Print Raw Data Map", the secondary windows, "Acquire Data", the About
// box and the B-spline self-test.
#include <QProgressBar>
#include <QScreen>

#include "commands/open_datalog.h"
#include "commands/raw_map_commands.h"
#include "common/number_text.h"
#include "plot/raw_map_plot.h"
#include "ui/app/main_window.h"
#include "ui/common/language_applier.h"
#include "ui/common/string_list_model.h"
#include "ui/common/window_geometry.h"
#include "ui/plot/plot_widget.h"
#include "ui/plot/report_printer.h"
#include "vemap/bspline.h"

namespace tallimar::ui {
namespace {

constexpr const char* kTitle = "Tallimar";

}  // namespace

void MainWindow::refreshPlot() {
  m_statusLog->append(std::string(plot::kPlottingO2Crossover));
  showPlotLimits(m_workspace.settings);
  m_pic->setDrawList(plot::rawMapPlot(m_workspace.rawMap, m_workspace.settings));
  m_statusLog->append("Finished Plotting");
}

void MainWindow::showRawDataMap() {
  m_pic->setDrawList(plot::rawMapPlot(m_workspace.rawMap, m_workspace.settings));
}

void MainWindow::clearRawDataMap() {
  if (busy()) return;
  (void)commands::clearRawDataMapCommand(m_workspace, *m_statusLog, *m_crossoverSink);
  m_pic->setDrawList(plot::rawMapSurface(m_workspace.settings));
}

void MainWindow::setBusy(bool busy) {
  if (busy)
    setCursor(Qt::BusyCursor);
  else
    unsetCursor();
  m_progress->setValue(0);
  m_progress->setVisible(busy);
  applyMenuState();
}

void MainWindow::runLongCommand(BackgroundCommand::Job job, std::function<void()> whenDone) {
  const bool started = m_background->start(std::move(job), [this, whenDone] {
    setBusy(false);
    if (whenDone) whenDone();
    emit commandFinished();
  });
  if (started) setBusy(true);
}

// Open Datalog: the datalogs are read on the worker thread; the plot is redrawn when the
// command has run to its end. A command that stopped early after changing the map (cleared
// at the append question, or filled from the files before the one that failed) still gets
// the map drawn as it now is, without the plot's status lines, so the plot never shows a map
// that is gone.
void MainWindow::openDatalog() {
  auto result = std::make_shared<commands::CommandResult>();
  const std::string folder = m_programFolder.toStdString();
  runLongCommand(
      [this, result, folder](BackgroundCommand::Context& c) {
        commands::CommandOptions options;
        options.programFolder = folder;
        options.progress = c.progress;
        *result = commands::openDatalog(m_workspace, c.prompts, c.status, c.list, options);
      },
      [this, result] {
        if (result->ok())
          refreshPlot();
        else if (result->changed)
          showRawDataMap();
      });
}

void MainWindow::openRawDataMap() {
  auto result = std::make_shared<commands::CommandResult>(commands::CommandResult::failed());
  const std::string folder = m_programFolder.toStdString();
  runLongCommand(
      [this, result, folder](BackgroundCommand::Context& c) {
        commands::CommandOptions options;
        options.programFolder = folder;
        *result = commands::openRawDataMap(m_workspace, c.prompts, c.status, options);
      },
      [this, result] {
        if (result->ok()) refreshPlot();
      });
}

void MainWindow::saveRawDataMap() {
  const std::string folder = m_programFolder.toStdString();
  runLongCommand([this, folder](BackgroundCommand::Context& c) {
    commands::CommandOptions options;
    options.programFolder = folder;
    (void)commands::saveRawDataMap(m_workspace, c.prompts, c.status, options);
  });
}

void MainWindow::saveCrossoverPoints() {
  const std::string folder = m_programFolder.toStdString();
  runLongCommand([this, folder](BackgroundCommand::Context& c) {
    commands::CommandOptions options;
    options.programFolder = folder;
    (void)commands::saveCrossoverPoints(m_workspace, c.prompts, c.status, options);
  });
}

commands::ReportOutput& MainWindow::reportOutput() {
  if (m_reportOutput) return *m_reportOutput;
  if (!m_qtReportOutput) m_qtReportOutput = std::make_unique<QtReportOutput>(this);
  return *m_qtReportOutput;
}

// A cancelled print dialog or a printer failure ends the command without a word.
void MainWindow::printRawDataMap() {
  (void)commands::PrintRawDataMap(m_workspace, m_store, m_prompts, reportOutput());
}

void MainWindow::setWindowFactory(SecondaryWindow which, WindowFactory factory) {
  m_factories[which] = std::move(factory);
}

QWidget* MainWindow::openWindow(SecondaryWindow which) {
  const auto found = m_factories.find(which);
  if (found == m_factories.end() || !found->second) return nullptr;
  return found->second(*this);
}

void MainWindow::modifyVeMap() {
  if (!m_factories.contains(SecondaryWindow::ModifyVeMap)) return;
  MenuButtons(false);
  QWidget* window = openWindow(SecondaryWindow::ModifyVeMap);
  if (!window) {
    MenuButtons(true);
    return;
  }
  // Where the user last left it, else the top left of the screen.
  if (!restoreWindowGeometry(*window, m_store)) {
    const QScreen* where = screen();
    window->move(where ? where->geometry().topLeft() : QPoint(0, 0));
  }
  window->show();
}

void MainWindow::openSettings() {
  if (!m_factories.contains(SecondaryWindow::Settings)) return;
  setEnabled(false);
  QWidget* dialog = openWindow(SecondaryWindow::Settings);
  if (!dialog) {
    setEnabled(true);
    return;
  }
  dialog->move(frameGeometry().topLeft() + QPoint(px(300), px(300)));
  dialog->show();
}

void MainWindow::openWbFactorTables() {
  if (QWidget* window = openWindow(SecondaryWindow::WbFactorTables)) window->show();
}

void MainWindow::acquireData() {
  using common::Answer;
  using common::MessageButtons;
  using common::MessageIcon;
  m_prompts.message(kTitle, "This is here just to look at, it doesn't work yet!",
                    MessageButtons::Ok, MessageIcon::Exclamation);
  if (m_workspace.rawDataMapPresent) {
    const Answer answer = m_prompts.message(
        kTitle,
        "There is a high density VE Map already loaded. Do you wish to append to this map? "
        "Click <No> to start a new map or <Cancel> to cancel",
        MessageButtons::YesNoCancel, MessageIcon::None);
    if (answer == Answer::Cancel) return;
    if (answer == Answer::No) clearRawDataMap();
  }
  // Until there is a live-data window to close again, the menus stay enabled: disabling them
  // with nothing to enable them would leave the program without "Exit".
  if (!m_factories.contains(SecondaryWindow::AcquireData)) return;
  MenuButtons(false);
  QWidget* window = openWindow(SecondaryWindow::AcquireData);
  if (!window) {
    MenuButtons(true);
    return;
  }
  const QRect main = frameGeometry();
  window->move(main.left() + main.width() / 2 - window->frameGeometry().width() / 2,
               main.top() + px(300));
  window->show();
}

// The exerciser touches no working data: it opens beside the main window with the menus
// left as they are.
void MainWindow::openGaugeExerciser() {
  QWidget* window = openWindow(SecondaryWindow::GaugeExerciser);
  if (!window) return;
  window->move(frameGeometry().topLeft() + QPoint(px(300), px(300)));
  window->show();
}

void MainWindow::showAbout() {
  auto* box = new AboutBox(m_prompts, m_systemInfoTool, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  applyLanguageTable(*box, AboutBox::kWindowName, m_workspace.languageTable);
  box->move(frameGeometry().topLeft() + QPoint(px(300), px(300)));
  box->show();
  m_about = box;
}

// The curve of order 3 through six fixed control points, 500 curve points, one line each.
void MainWindow::bSplineSelfTest() {
  static constexpr vemap::Point kControl[] = {{-10, -3.5}, {3, 3},    {3, -0.01},
                                              {5, 3},      {7, -4.2}, {10, 4}};
  const std::vector<vemap::Point> curve = vemap::bSplineCurve(kControl, 3, 499);
  std::vector<std::string> lines;
  lines.reserve(curve.size());
  for (std::size_t i = 0; i < curve.size(); ++i)
    lines.push_back("#: " + std::to_string(i + 1) + " X: " + common::shortestText(curve[i].x) +
                    " Y: " + common::shortestText(curve[i].y));
  m_list2Model->append(std::move(lines));
}

}  // namespace tallimar::ui
