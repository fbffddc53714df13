// frmSettings, the settings dialog: four tabs of controls bound to the settings record,
// opened from the main window or the "Modify VE Map" window. The window that opened it takes
// no input until it closes; "Save" writes the record and the store, "Cancel" writes nothing.
// What the controls show, their checks and the conversions on Save live in core
// (settings/settings_form.h, commands/settings_command.h); this class moves texts in and
// out of the widgets and couples them.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>

#include "common/prompts.h"
#include "common/status_log.h"
#include "settings/settings_form.h"
#include "settings/settings_store.h"
#include "workspace/workspace.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QTabWidget;

namespace tallimar::ui {

// Which window opened the dialog: that window is disabled while the dialog is open and
// enabled again, whichever way the dialog closes.
enum class SettingsCaller {
  MainWindow,   // frmMSMain: the whole window, menus included
  ModifyVeMap,  // frmCalculateMap: its menus and controls, disabled by the window itself
};

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmSettings";

  // The dialog with every bound control loaded from workspace.settings and the port devices
  // from store, the first tab shown, and callerWindow disabled. factorLog receives the
  // status lines of the factor tables reloaded on Save (the main window's status list).
  // programFolder is the folder "Current" puts in the path box and "Browse" starts in.
  SettingsDialog(workspace::Workspace& workspace, settings::SettingsStore& store,
                 common::Prompts& prompts, common::StatusLog& factorLog, QString programFolder,
                 SettingsCaller caller, QWidget* callerWindow, QWidget* parent = nullptr);

  SettingsCaller caller() const { return m_caller; }
  // The bound controls as a form, as Save reads them.
  settings::SettingsForm form() const;

  void done(int result) override;

 signals:
  // Save wrote the settings; tableResized when the VE table took a new size.
  void saved(bool tableResized);

 private:
  void buildEngineTab(QWidget* tab);
  QWidget* buildVeRangeFrame(QWidget* tab);
  QWidget* buildFilteringFrame(QWidget* tab);
  QWidget* buildRangeSettingsFrame(QWidget* tab);
  QWidget* buildPathFrame(QWidget* tab);
  QWidget* buildMapSizeFrame(QWidget* tab);
  void buildPreferencesTab(QWidget* tab);
  void buildSerialTab(QWidget* tab);
  void buildInputTab(QWidget* tab);
  void connectFieldChecks();
  void connectSmoothing();

  void load(const settings::SettingsForm& form);
  void showTexts(const settings::SettingsForm& form);
  void showPortDevice(int index);
  void setCallerEnabled(bool enabled);

  // Button commands.
  void save();
  void useProgramFolder();
  void browseIncPath();

  workspace::Workspace& m_ws;
  settings::SettingsStore& m_store;
  common::Prompts& m_prompts;
  common::StatusLog& m_factorLog;
  QString m_programFolder;
  SettingsCaller m_caller;
  QPointer<QWidget> m_callerWindow;
  bool m_callerDisabled = false;

  QTabWidget* m_tabs = nullptr;
  QLineEdit* m_incPath = nullptr;
  QLineEdit* m_egoCross = nullptr;
  std::array<QRadioButton*, 2> m_veRange{};
  QCheckBox* m_veOutlier = nullptr;
  QLineEdit* m_sigma = nullptr;
  std::array<QRadioButton*, 3> m_filtering{};  // entries 1 and 2 are the options
  QScrollBar* m_bSpline = nullptr;
  QScrollBar* m_bSpline2 = nullptr;
  QLineEdit* m_bSplineText = nullptr;
  QLineEdit* m_bSpline2Text = nullptr;
  QCheckBox* m_bSplineOutlier = nullptr;
  QLineEdit* m_bSplineSigma = nullptr;
  QLineEdit* m_minRpm = nullptr;
  QLineEdit* m_maxRpm = nullptr;
  QLineEdit* m_maxMap = nullptr;
  std::array<QRadioButton*, 4> m_mapSize{};
  std::array<QRadioButton*, 3> m_unitMap{};
  std::array<QRadioButton*, 3> m_temp{};
  QComboBox* m_port = nullptr;
  QComboBox* m_portDevice = nullptr;
  QLineEdit* m_dataRate = nullptr;
  // The device of every port as edited so far; the device box shows the chosen port's.
  std::array<std::string, settings::kComPortCount> m_devices;
  int m_devicePort = -1;  // the port whose device the box shows
};

// Makes the dialog for the caller, translated from the stored language's file (read into
// the workspace's language table; a failure is reported on factorLog), to be deleted when
// it closes, placed 300 twips right of and below the caller's top-left corner (not shown).
SettingsDialog* createSettingsDialog(workspace::Workspace& workspace,
                                     settings::SettingsStore& store, common::Prompts& prompts,
                                     common::StatusLog& factorLog, const QString& programFolder,
                                     SettingsCaller caller, QWidget& callerWindow);

}  // namespace tallimar::ui
