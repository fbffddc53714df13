// "Modify VE Map with AFR's" (`frmVEAFR`), opened by "Create WB Target AFR Map": a target
// air-fuel ratio per MAP row (`txtAFR`) and the ratio the table was tuned for
// (`txtBaseLineAFR`). Its own grid previews VE x baseline / target after every change of a
// target; "OK" (`Command2`) writes what the grid shows into the active corner of the table,
// "Cancel" (`Command1`) and the close box write nothing.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "common/prompts.h"
#include "settings/settings_store.h"
#include "vemap/map_tools.h"
#include "workspace/workspace.h"

class QCheckBox;
class QLineEdit;

namespace tallimar::ui {

class VeGrid;

class TargetAfrDialog : public QDialog {
  Q_OBJECT
 public:
  TargetAfrDialog(workspace::Workspace& workspace, settings::SettingsStore& store,
                  common::Prompts& prompts, std::function<void()> tableRewritten,
                  QWidget* parent = nullptr);

  VeGrid& grid() const { return *m_grid; }
  QLineEdit* target(int mapIndex) const { return m_targets[static_cast<std::size_t>(mapIndex)]; }
  // The numbers the grid shows, [RPM index][MAP index].
  const vemap::AfrGrid& shown() const { return m_shown; }

  // One preview run from the table (never from an earlier preview).
  void preview();
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showTable();
  void showPreview();

  workspace::Workspace& m_ws;
  common::Prompts& m_prompts;
  std::function<void()> m_tableRewritten;
  VeGrid* m_grid = nullptr;
  std::array<QLineEdit*, vemap::kMaxBins> m_targets{};
  QLineEdit* m_baseline = nullptr;
  QCheckBox* m_colours = nullptr;
  vemap::AfrGrid m_shown{};
  bool m_inPreview = false;
};

}  // namespace tallimar::ui
