// frmMSMain: the main window. It shows the raw data map plot surface `Pic` with its axis
// labels and colour legend `ColorChart`, the crossover list `List1`, the status list
// `lstStatus`, and the menus that reach every command. Controls carry the objectNames the
// language files use; the members of a control array carry their index in the property
// "index".
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "common/prompts.h"
#include "settings/settings_store.h"
#include "ui/app/list_status_log.h"
#include "workspace/startup.h"
#include "workspace/workspace.h"

class QAction;
class QLabel;
class QListView;
class QMenu;

namespace tallimar::ui {

class StringListModel;

// The user scale of the plot surface: RPM in hundreds of rev/min from `left`, over `width`;
// MAP in kPa from 0 at the bottom to `height` at the top.
struct PlotScale {
  double left = 0.0;
  double width = 1.0;
  double height = 1.0;
};

class MainWindow : public QMainWindow, private workspace::StartupWindow {
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

  common::StatusLog& statusLog() { return *m_statusLog; }
  StringListModel& crossoverList() { return *m_crossoverModel; }
  StringListModel& statusList() { return *m_statusModel; }
  QWidget* plotSurface() const { return m_pic; }
  const PlotScale& plotScale() const { return m_plotScale; }
  const QString& programFolder() const { return m_programFolder; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // workspace::StartupWindow
  void fillLanguageMenu() override;
  void placeWindow() override;
  void setTitle() override;
  void applyLanguage(const std::string& language) override;
  void showPlotLimits(const settings::Settings& settings) override;
  void setPrintPreview(bool preview) override;

  int px(double twips) const;
  void place(QWidget* widget, double left, double top, double width, double height) const;
  QLabel* addLabel(const QString& name, int index, const QString& caption, double left, double top,
                   double width, Qt::Alignment alignment);
  void buildClientArea();
  void buildColorChart();
  void buildLists();
  void buildMenus();
  QAction* addEntry(QMenu* menu, const char* name, const char* caption);
  void chooseLanguage(int index);

  workspace::Workspace& m_workspace;
  settings::SettingsStore& m_store;
  common::Prompts& m_prompts;
  QString m_programFolder;
  QWidget* m_client = nullptr;
  QWidget* m_pic = nullptr;
  QLabel* m_lblMapMax = nullptr;
  QLabel* m_lblRPMMin = nullptr;
  QLabel* m_lblRPMMax = nullptr;
  QListView* m_list1 = nullptr;
  QListView* m_lstStatus = nullptr;
  StringListModel* m_crossoverModel = nullptr;
  StringListModel* m_statusModel = nullptr;
  std::unique_ptr<ListStatusLog> m_statusLog;
  QAction* m_printPreview = nullptr;
  QList<QAction*> m_languageEntries;
  PlotScale m_plotScale;
};

}  // namespace tallimar::ui
