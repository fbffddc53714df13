// frmCalculateMap, the "Modify VE Map" window: the grid editor of the low-density VE table,
// its plot views, the filtering and calculation commands, the table files and the map tools.
// It works directly on the shared Workspace; the table and every flag outlive it.
//
// Controls carry the objectNames the language files use; members of a control array
// (`txtVEBins`, `optVEView`, `mnuMapNumber`, ...) carry their index in the property "index".
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

#include "commands/command_result.h"
#include "commands/ecu_commands.h"
#include "commands/print_report.h"
#include "common/prompts.h"
#include "common/status_log.h"
#include "settings/settings_store.h"
#include "ui/common/list_status_log.h"
#include "ui/vemap/filter_run.h"
#include "ui/vemap/ve_grid.h"
#include "vemap/plot_redraw.h"
#include "workspace/workspace.h"

class QAction;
class QCheckBox;
class QDialog;
class QListView;
class QPushButton;

namespace tallimar::ui {

class EcuReplyTimers;
class PlotWidget;
class QtSerialLink;
class VeMapWindow;
class StringListModel;
class VePlotPanel;

// What the window tells the window that opened it.
struct VeMapWindowHooks {
  // The window closed (by "Close" or its close box): the main window enables its menus again.
  std::function<void()> closed;
  // "Settings" was chosen in this window: opens the settings dialog for it.
  std::function<void(VeMapWindow& window)> settings;
  // Where a failed language file is reported (the main window's status list); the window's
  // own status list when not given.
  common::StatusLog* mainStatusLog = nullptr;
  // Where "Print Current Plot" sends its page (the main window's preview window and print
  // dialog); a window of its own when not given.
  commands::ReportOutput* reportOutput = nullptr;
  // "Preview Mode" changed the "PrintPreview" setting: the main window shows it too.
  std::function<void()> printPreviewChanged;
};

class VeMapWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmCalculateMap";

  // The window as laid out: the grid shows its initial texts. The references must outlive
  // it; programFolder holds the *.Lang files (empty: the program's own folder).
  VeMapWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
              common::Prompts& prompts, QString programFolder, VeMapWindowHooks hooks,
              QWidget* parent = nullptr);
  ~VeMapWindow() override;

  // The loading steps of every opening: translation, empty status list, view choices,
  // "View Colors" and "Preview Mode" from the settings, the table shown in the grid, and the
  // "Raw Datalog" view when a raw data map is present.
  void load();

  // Public operations that the table loaders and the ECU commands call.
  void Display8x8Map();
  void VEPlotViewButtons();
  void Read8x8Map();
  void Clear8x8Map();
  void redraw(vemap::PlotRedraw what);

  common::StatusLog& statusLog() { return *m_statusLog; }
  const std::vector<std::string>& statusLines() const;
  VeGrid& grid() const { return *m_grid; }
  VePlotPanel& plotPanel() const { return *m_panel; }
  PlotWidget& splineView() const { return *m_splineView; }
  bool filtering() const;
  // The preview of fitted lines: their curve points as boxes on the plot and the last fitted
  // line in `SplineView` (what filtering shows as the lines arrive).
  void showFilterProgress(const std::vector<FilterRun::Line>& lines);

  // The window takes no input (its menus and controls are disabled, the dialog is modal to
  // it) until `dialog` finishes in any way. Used by "Best Fit RPM/MAP Bins" and "Modify VE
  // Map with AFR's", and by the settings dialog opened from "Settings". The dialog may
  // be a child of this window: only the window's menus and controls are disabled.
  void disableWhileOpen(QDialog* dialog);
  // False while such a dialog is open.
  bool acceptsInput() const { return m_blockingDialogs == 0; }

  // The "MS CPU" commands: a command under way, and its reply timers (Timer1..Timer3).
  bool ecuBusy() const;
  EcuReplyTimers& ecuTimers() const { return *m_ecuTimers; }

 signals:
  // While filtering: the preview and the plot show the lines fitted so far.
  void filterPreviewUpdated();
  // Filtering finished and its result (if complete) is in the Workspace.
  void filteringFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildClientArea();
  QAction* addEntry(QMenu* menu, const char* name, const char* caption, int index = -1);
  QPushButton* addButton(const char* name, const char* caption);
  void cellLeft(GridCellKind kind, int index);
  void commitFocusedCell();

  // Commands.
  void filterRawDatalog();
  void showFilterLines();
  void finishFiltering();
  void calculateMap();
  void openLdMap();
  void saveLdMap();
  void settingsCommand();
  void printCurrentPlot();
  void ecuCommand(commands::CommandResult (commands::EcuCommands::*start)(const std::string&));
  void ecuFinished(commands::CommandResult result);

  // Dialogs.
  void placeBesideWindow(QWidget* dialog) const;
  void openBestFitBins();
  void openScaleVe();
  void openTargetAfr();
  void openUserInfo();
  void openFuelPressure();
  void openFuelRequirement();
  void tableRewritten();

  workspace::Workspace& m_ws;
  settings::SettingsStore& m_store;
  common::Prompts& m_prompts;
  QString m_programFolder;
  VeMapWindowHooks m_hooks;

  VeGrid* m_grid = nullptr;
  VePlotPanel* m_panel = nullptr;
  PlotWidget* m_splineView = nullptr;
  QCheckBox* m_veColors = nullptr;
  QListView* m_lstStatus = nullptr;
  StringListModel* m_statusModel = nullptr;
  std::unique_ptr<ListStatusLog> m_statusLog;
  QPushButton* m_cmdFilter = nullptr;
  QPushButton* m_cmdCalculate = nullptr;
  QPushButton* m_cmdFitBins = nullptr;
  QAction* m_mnuFilter = nullptr;
  QAction* m_mnuCalculate = nullptr;
  QAction* m_mnuBestFit = nullptr;
  QAction* m_mnuPreview = nullptr;
  std::unique_ptr<FilterRun> m_filter;
  std::unique_ptr<commands::ReportOutput> m_ownReportOutput;  // when the hooks give none
  int m_blockingDialogs = 0;
  QPointer<QWidget> m_scaleVe;
  QPointer<QWidget> m_userInfo;
  QPointer<QWidget> m_fuelPressure;
  QPointer<QWidget> m_fuelRequirement;
  QtSerialLink* m_link = nullptr;
  EcuReplyTimers* m_ecuTimers = nullptr;
  std::unique_ptr<commands::EcuCommands> m_ecu;
};

// The window's first size, within a 1280 x 800 screen with its frame and a panel.
inline constexpr QSize kVeMapWindowDefaultSize{1260, 720};

// Creates the window, deleted when it closes, loads it and gives it its default size; the caller
// places and shows it (not modal). This is the main window's factory for "Modify VE Map": the main
// window disables its menus first, and hooks.closed enables them again.
VeMapWindow* createVeMapWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
                               common::Prompts& prompts, const QString& programFolder,
                               VeMapWindowHooks hooks, QWidget* parent = nullptr);

}  // namespace tallimar::ui
