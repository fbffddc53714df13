// frmMakeWBFactor, the "Wide Band Factor Creator" window: 40 calibration rows of output
// voltage and air-fuel ratio, and "Create Table", which writes the wide-band factor table
// "diywbfactor.inc" into the program's own folder (commands/wb_factor_command.h).
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "common/prompts.h"
#include "tools/wb_factor_table.h"
#include "workspace/workspace.h"

class QLineEdit;

namespace tallimar::ui {

class WbFactorWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kWindowName = "frmMakeWBFactor";

  // The window with the rows as loaded. programFolder is where the file is written (the
  // program's own folder); the workspace's INCPath tells the user where tables are read.
  WbFactorWindow(const workspace::Workspace& workspace, common::Prompts& prompts,
                 QString programFolder, QWidget* parent = nullptr);

  // The rows as typed, row 0 first.
  std::vector<tools::WbRow> rows() const;
  QLineEdit* voltOut(int row) const { return m_volts[static_cast<std::size_t>(row)]; }
  QLineEdit* afr(int row) const { return m_afr[static_cast<std::size_t>(row)]; }

  // "Create Table" (Command1).
  void createTable();

 private:
  const workspace::Workspace& m_ws;
  common::Prompts& m_prompts;
  QString m_programFolder;
  std::array<QLineEdit*, tools::kWbRowCount> m_volts{};
  std::array<QLineEdit*, tools::kWbRowCount> m_afr{};
};

// A new window that deletes itself when closed (not shown yet).
WbFactorWindow* createWbFactorWindow(const workspace::Workspace& workspace,
                                     common::Prompts& prompts, const QString& programFolder,
                                     QWidget* parent);

}  // namespace tallimar::ui
