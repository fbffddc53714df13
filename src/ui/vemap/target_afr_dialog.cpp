// The target AFR dialog: its grid, the row targets beside it, and the preview.
#include "ui/vemap/target_afr_dialog.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "commands/ve_map_commands.h"
#include "settings/settings_io.h"
#include "ui/common/form_parts.h"
#include "ui/vemap/ve_grid.h"

namespace tallimar::ui {

TargetAfrDialog::TargetAfrDialog(workspace::Workspace& workspace, settings::SettingsStore& store,
                                 common::Prompts& prompts, std::function<void()> tableRewritten,
                                 QWidget* parent)
    : QDialog(parent),
      m_ws(workspace),
      m_prompts(prompts),
      m_tableRewritten(std::move(tableRewritten)) {
  setObjectName(QStringLiteral("frmVEAFR"));
  setWindowTitle(QStringLiteral("Modify VE Map with AFR's"));
  auto* rows = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  rows->addLayout(top);

  m_grid = new VeGrid(false, this);
  top->addWidget(m_grid, 0, Qt::AlignTop);

  // One target per MAP row, level with its row of the grid.
  auto* column = new QWidget(this);
  column->setFixedSize(60, m_grid->height());
  QLabel* heading = form::label(column, "lblAFR", QStringLiteral("AFR"));
  heading->setAlignment(Qt::AlignCenter);
  heading->setGeometry(0, 0, column->width(), m_grid->cellHeight());
  for (int k = 0; k < vemap::kMaxBins; ++k) {
    QLineEdit* edit = form::lineEdit(column, "txtAFR", QStringLiteral("14.7"), k);
    edit->setAlignment(Qt::AlignCenter);
    const QRect row = m_grid->mapRowRect(k);
    edit->setGeometry(0, row.top(), column->width(), row.height());
    connect(edit, &QLineEdit::textChanged, this, &TargetAfrDialog::preview);
    edit->installEventFilter(this);
    m_targets[static_cast<std::size_t>(k)] = edit;
  }
  top->addWidget(column, 0, Qt::AlignTop);

  auto* side = new QVBoxLayout;
  QGroupBox* base = form::frame(this, "fraBaseAFR", QStringLiteral("Base AFR"));
  auto* baseForm = new QFormLayout(base);
  m_baseline = form::lineEdit(base, "txtBaseLineAFR", QStringLiteral("14.7"));
  // Room for a ratio such as "14.7" or "12.25" with the field's frame and margins.
  m_baseline->setMinimumWidth(
      m_baseline->fontMetrics().horizontalAdvance(QStringLiteral("000.00")) + 16);
  m_baseline->setMaximumWidth(m_baseline->minimumWidth() + 20);
  baseForm->addRow(form::label(base, "lblBaseLineAFR", QStringLiteral("Baseline AFR:")),
                   m_baseline);
  side->addWidget(base);
  QGroupBox* view = form::frame(this, "fraMapView", QStringLiteral("Map View"));
  auto* viewLayout = new QVBoxLayout(view);
  m_colours = form::checkBox(view, "chkVEColors", QStringLiteral("View Colors"));
  m_colours->setChecked(settings::readVEMapColors(store));
  connect(m_colours, &QCheckBox::clicked, this, &TargetAfrDialog::showTable);
  viewLayout->addWidget(m_colours);
  side->addWidget(view);
  side->addStretch();
  QPushButton* ok = form::button(this, "Command2", QStringLiteral("OK"));
  QPushButton* cancel = form::button(this, "Command1", QStringLiteral("Cancel"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  side->addWidget(ok);
  side->addWidget(cancel);
  top->addLayout(side);

  showTable();
}

// The table as the window's grid shows it; the preview starts again from here.
void TargetAfrDialog::showTable() {
  m_grid->display(m_ws.veTable, m_colours->isChecked());
  m_shown = vemap::afrGridFromTable(m_ws.veTable);
}

void TargetAfrDialog::showPreview() {
  const bool colours = m_colours->isChecked();
  m_grid->setUpdatesEnabled(false);
  for (int r = 0; r < m_ws.veTable.activeRpm(); ++r) {
    for (int m = 0; m < m_ws.veTable.activeMap(); ++m) {
      const double value = m_shown[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)];
      const int cell = r * vemap::kMaxBins + m;
      m_grid->veCell(cell)->setText(QString::number(value, 'f', 0));
      m_grid->colourVeCell(cell, value, colours);
    }
  }
  m_grid->setUpdatesEnabled(true);
}

// A message box raised by a run takes the focus from the target being edited; that focus
// change and any change while the box is up must not start another run.
void TargetAfrDialog::preview() {
  if (m_inPreview) return;
  m_inPreview = true;
  std::array<std::string, vemap::kMaxBins> targets;
  for (std::size_t k = 0; k < targets.size(); ++k) targets[k] = m_targets[k]->text().toStdString();
  (void)commands::targetAfrPreviewCommand(m_ws, m_prompts, m_baseline->text().toStdString(),
                                          targets, m_shown);
  showPreview();
  m_inPreview = false;
}

bool TargetAfrDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
    preview();
  return QDialog::eventFilter(watched, event);
}

void TargetAfrDialog::accept() {
  if (!commands::targetAfrApplyCommand(m_ws, m_prompts, m_shown).ok()) return;
  if (m_tableRewritten) m_tableRewritten();
  QDialog::accept();
}

}  // namespace tallimar::ui
