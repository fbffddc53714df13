// frmAbout: the About box of the main window ("Help" > "About"), with the program's title,
// version and description, an OK button and a button that starts the system's own
// information tool.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "common/prompts.h"

class QLabel;
class QPushButton;

namespace tallimar::ui {

// Where the "System Info..." button looks for a system information program, and how it
// starts one. On Linux desktops there is no single such program: the first of `names`
// found as an executable in `folders` (the PATH when empty) is started.
struct SystemInfoTool {
  QStringList names = defaultNames();
  QStringList folders;
  // Starts the program detached from this one; false when it could not be started.
  std::function<bool(const QString& program)> start = startDetached;

  // hardinfo2, hardinfo, kinfocenter, gnome-system-monitor, mate-system-monitor.
  static QStringList defaultNames();
  static bool startDetached(const QString& program);
  // The full path of the first program found, or an empty text.
  QString find() const;
};

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmAbout";
  static constexpr double kWidthTwips = 5730;
  static constexpr double kHeightTwips = 3300;

  // The box reports through `prompts`, which must outlive it.
  AboutBox(common::Prompts& prompts, SystemInfoTool tool, QWidget* parent = nullptr);

  // cmdSysInfo: starts the system information tool, or says "System Information Is
  // Unavailable At This Time" when none is found. A tool that is found but fails to start
  // ends the command silently.
  void startSystemInfo();

 private:
  QLabel* addLabel(const char* name, const QString& text, double top, double height);

  common::Prompts& m_prompts;
  SystemInfoTool m_tool;
};

}  // namespace tallimar::ui
