// frmMSMain: the main window. It shows the raw data map plot surface `Pic` with its axis
// labels and colour legend `ColorChart`, the crossover list `List1`, the status list
// `lstStatus`, and the menus that reach every command. Controls carry the objectNames the
// language files use; the members of a control array carry their index in the property
// "index".
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "commands/print_report.h"
#include "commands/startup.h"
#include "common/prompts.h"
#include "settings/settings_store.h"
#include "ui/app/about_box.h"
#include "ui/app/background_command.h"
#include "ui/common/list_crossover_list.h"
#include "ui/common/list_status_log.h"
#include "workspace/workspace.h"

class QAction;
class QGridLayout;
class QLabel;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tallimar::ui {

class MainWindow;
class PlotWidget;
class StringListModel;

// The windows the main window opens from its menus but does not know itself. main() tells
// the window how to make each one (setWindowFactory); an entry whose window has no factory
// does nothing.
enum class SecondaryWindow {
  ModifyVeMap,     // frmCalculateMap, "Edit" > "Modify VE Map"
  Settings,        // frmSettings, "Edit" > "Settings"
  WbFactorTables,  // frmMakeWBFactor, "Tools" > "WB Factor Tables"
  AcquireData,     // frmAcquire, "MS CPU" > "Acquire Data"
  GaugeExerciser,  // Form1, "Help" > "Gauge Exerciser"
};

// Makes a new window each time its entry is chosen. The main window places and shows it
// (not modal). The window should be top-level and delete itself when closed
// (Qt::WA_DeleteOnClose), so that each opening starts from its laid-out state. A window
// opened after MenuButtons(false) ("Modify VE Map", "Acquire Data") calls MenuButtons(true)
// when it closes; the settings dialog enables the main window again when it closes.
using WindowFactory = std::function<QWidget*(MainWindow& mainWindow)>;

// The user scale of the plot surface: RPM in hundreds of rev/min from `left`, over `width`;
// MAP in kPa from 0 at the bottom to `height` at the top.
struct PlotScale {
  double left = 0.0;
  double width = 1.0;
  double height = 1.0;
};

class MainWindow : public QMainWindow, private commands::StartupWindow {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmMSMain";
  static constexpr double kHeightTwips = 5835.0;
  static constexpr double kWidthTwips = 7155.0;

  // The window works on the given workspace, store and prompts, which must outlive it.
  // programFolder holds the *.Lang files; empty means the program's own folder.
  MainWindow(workspace::Workspace& workspace, settings::SettingsStore& store,
             common::Prompts& prompts, QString programFolder = QString(),
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up sequence: language menu, placement, title, translation, settings, factor
  // tables, initial bins, "Ready". Run once, before the window is shown.
  void startUp();

  // Enables or disables the thirteen entries that must not run while a secondary window
  // works on the shared tables (the language entries, "WB Factor Tables" and
  // "Upload S19" stay as they are).
  void MenuButtons(bool enabled);

  // Plot refresh: "Plotting O2 Crossover", the labels and the plot of the raw data map
  // drawn again from the workspace, "Finished Plotting".
  void refreshPlot();
  // The clear operation: every raw data map cell emptied, the raw-data-map-present flag
  // reset, the plot and the crossover list cleared, with its two status lines.
  void clearRawDataMap();

  void setWindowFactory(SecondaryWindow which, WindowFactory factory);
  // How the About box's "System Info..." button finds and starts a program.
  void setSystemInfoTool(SystemInfoTool tool) { m_systemInfoTool = std::move(tool); }
  // Where the report pages of the print commands go: the preview window `PrintPreview` and
  // the print dialog, unless another output is set (it must outlive the window). The
  // "Modify VE Map" window prints through the same output.
  void setReportOutput(commands::ReportOutput* output) { m_reportOutput = output; }
  commands::ReportOutput& reportOutput();
  // Sets the "Print Preview" check mark from the stored "PrintPreview" setting, which the
  // "Modify VE Map" window's "Preview Mode" shares.
  void showPrintPreviewSetting();

  // True while a long command (a file command of the "File" menu) runs. Meanwhile the
  // commands that use the raw data map, the crossover points or the settings are disabled.
  bool busy() const;

  workspace::Workspace& workspace() { return m_workspace; }
  settings::SettingsStore& settingsStore() { return m_store; }
  common::Prompts& prompts() { return m_prompts; }
  common::StatusLog& statusLog() { return *m_statusLog; }
  StringListModel& crossoverList() { return *m_crossoverModel; }
  StringListModel& statusList() { return *m_statusModel; }
  PlotWidget* plotSurface() const { return m_pic; }
  const PlotScale& plotScale() const { return m_plotScale; }
  const QString& programFolder() const { return m_programFolder; }
  // The last About box opened, while it is open.
  AboutBox* aboutBox() const { return m_about; }

 signals:
  // A long command has ended and its lines are shown.
  void commandFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // commands::StartupWindow
  void fillLanguageMenu() override;
  void placeWindow() override;
  void setTitle() override;
  void applyLanguage(const std::string& language) override;
  void showPlotLimits(const settings::Settings& settings) override;
  void setPrintPreview(bool preview) override;

  int px(double twips) const;
  void place(QWidget* widget, double left, double top, double width, double height) const;
  QLabel* addLabel(const QString& name, int index, const QString& caption, Qt::Alignment alignment);
  void buildClientArea();
  void buildColorChart();
  void buildLists();
  void buildMenus();
  void buildSelfTest();
  void bSplineSelfTest();
  QAction* addEntry(QMenu* menu, const char* name, const char* caption);
  QAction* entry(const char* name) const;
  void connectCommands();
  void applyMenuState();
  void chooseLanguage(int index);
  void toggleEnlarged(QListView* list);
  void placeEnlarged();
  void placeLaidOut();
  void activateLayouts();
  QWidget* openWindow(SecondaryWindow which);
  // Runs a file command on the worker thread; whenDone runs here once it has ended.
  void runLongCommand(BackgroundCommand::Job job, std::function<void()> whenDone = {});
  void setBusy(bool busy);
  // Draws the raw data map without the status lines of the plot refresh.
  void showRawDataMap();

  // Menu commands.
  void openDatalog();
  void openRawDataMap();
  void saveRawDataMap();
  void saveCrossoverPoints();
  void printRawDataMap();
  void modifyVeMap();
  void openSettings();
  void openWbFactorTables();
  void acquireData();
  void showAbout();
  void openGaugeExerciser();

  workspace::Workspace& m_workspace;
  settings::SettingsStore& m_store;
  common::Prompts& m_prompts;
  QString m_programFolder;
  QWidget* m_client = nullptr;
  QGridLayout* m_layout = nullptr;
  QListView* m_enlarged = nullptr;  // the list a double-click enlarged, out of the layout
  PlotWidget* m_pic = nullptr;
  QLabel* m_lblMapMax = nullptr;
  QLabel* m_lblRPMMin = nullptr;
  QLabel* m_lblRPMMax = nullptr;
  QListView* m_list1 = nullptr;
  QListView* m_lstStatus = nullptr;
  StringListModel* m_crossoverModel = nullptr;
  StringListModel* m_statusModel = nullptr;
  std::unique_ptr<ListStatusLog> m_statusLog;
  QListView* m_list2 = nullptr;  // output of the hidden B-spline self-test
  StringListModel* m_list2Model = nullptr;
  QAction* m_printPreview = nullptr;
  QList<QAction*> m_languageEntries;
  PlotScale m_plotScale;
  bool m_menusEnabled = true;  // the state MenuButtons last set
  std::map<SecondaryWindow, WindowFactory> m_factories;
  SystemInfoTool m_systemInfoTool;
  std::unique_ptr<commands::ReportOutput> m_qtReportOutput;  // made when first needed
  commands::ReportOutput* m_reportOutput = nullptr;
  QPointer<AboutBox> m_about;
  QProgressBar* m_progress = nullptr;
  std::unique_ptr<ListCrossoverList> m_crossoverSink;
  // Last: destroyed first, so a running command ends before anything it reports to.
  std::unique_ptr<BackgroundCommand> m_background;
};

}  // namespace tallimar::ui
