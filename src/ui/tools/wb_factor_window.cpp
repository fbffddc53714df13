// The wide-band factor creator window: rows 0..19 in the left column, 20..39 in the right.
#include "ui/tools/wb_factor_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "commands/wb_factor_command.h"
#include "ui/common/form_parts.h"

namespace tallimar::ui {
namespace {

constexpr int kRowsPerColumn = tools::kWbRowCount / 2;

}  // namespace

WbFactorWindow::WbFactorWindow(const workspace::Workspace& workspace, common::Prompts& prompts,
                               QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ws(workspace),
      m_prompts(prompts),
      m_programFolder(std::move(programFolder)) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QStringLiteral("Wide Band Factor Creator"));
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(24);
  layout->addLayout(columns);
  const auto initial = tools::initialWbRows();
  for (int column = 0; column < 2; ++column) {
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);
    QLabel* volts = form::label(this, "lblVoltOut", QStringLiteral("Volt Out"));
    QLabel* ratio = form::label(this, "lblAFRatio", QStringLiteral("A-F Ratio"));
    volts->setProperty("index", column);
    ratio->setProperty("index", column);
    grid->addWidget(volts, 0, 1, Qt::AlignHCenter);
    grid->addWidget(ratio, 0, 2, Qt::AlignHCenter);
    for (int k = 0; k < kRowsPerColumn; ++k) {
      const int row = column * kRowsPerColumn + k;
      const auto i = static_cast<std::size_t>(row);
      QLabel* number = form::label(this, "lblNumber", QStringLiteral("#%1:").arg(row + 1));
      number->setProperty("index", row);
      number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_volts[i] =
          form::lineEdit(this, "txtVoltOut", QString::fromStdString(initial[i].volts), row);
      m_afr[i] = form::lineEdit(this, "txtAFR", QString::fromStdString(initial[i].afr), row);
      for (QLineEdit* edit : {m_volts[i], m_afr[i]}) {
        edit->setFixedWidth(64);
        edit->setAlignment(Qt::AlignRight);
      }
      QLabel* toOne = form::label(this, "lblToOne", QStringLiteral(":1"));
      toOne->setProperty("index", row);
      grid->addWidget(number, k + 1, 0);
      grid->addWidget(m_volts[i], k + 1, 1);
      grid->addWidget(m_afr[i], k + 1, 2);
      grid->addWidget(toOne, k + 1, 3);
    }
    // The spare width goes after ":1", not between the cells.
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 4);
    columns->addLayout(grid);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* create = form::button(this, "Command1", QStringLiteral("Create Table"));
  buttons->addWidget(create);
  layout->addLayout(buttons);
  connect(create, &QPushButton::clicked, this, &WbFactorWindow::createTable);
}

std::vector<tools::WbRow> WbFactorWindow::rows() const {
  std::vector<tools::WbRow> rows;
  rows.reserve(tools::kWbRowCount);
  for (std::size_t i = 0; i < m_volts.size(); ++i)
    rows.push_back({m_volts[i]->text().toStdString(), m_afr[i]->text().toStdString()});
  return rows;
}

void WbFactorWindow::createTable() {
  (void)commands::createWbFactorTable(rows(), m_programFolder.toStdString(), m_ws.settings.incPath,
                                      m_prompts);
}

WbFactorWindow* createWbFactorWindow(const workspace::Workspace& workspace,
                                     common::Prompts& prompts, const QString& programFolder,
                                     QWidget* parent) {
  auto* window = new WbFactorWindow(workspace, prompts, programFolder, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  return window;
}

}  // namespace tallimar::ui
