// The pulse-width scaling dialog.
#include "ui/vemap/scale_ve_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "commands/ve_map_commands.h"
#include "ui/common/form_parts.h"

namespace tallimar::ui {

ScaleVeDialog::ScaleVeDialog(workspace::Workspace& workspace, common::Prompts& prompts,
                             std::function<void()> tableRewritten, QWidget* parent)
    : QDialog(parent),
      m_ws(workspace),
      m_prompts(prompts),
      m_tableRewritten(std::move(tableRewritten)) {
  setObjectName(QStringLiteral("frmScaleVE"));
  setWindowTitle(QStringLiteral("Scale VE"));
  auto* rows = new QVBoxLayout(this);
  auto* fields = new QFormLayout;
  rows->addLayout(fields);
  m_oldPw = form::lineEdit(this, "txtOldPW", QStringLiteral("6.5"));
  m_newPw = form::lineEdit(this, "txtNewPW", QStringLiteral("6.5"));
  fields->addRow(form::label(this, "lblOldPW", QStringLiteral("Old PW Value:")), m_oldPw);
  fields->addRow(form::label(this, "lblNewPW", QStringLiteral("New PW Value:")), m_newPw);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = form::button(this, "Command1", QStringLiteral("OK"));
  QPushButton* cancel = form::button(this, "Command2", QStringLiteral("Cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  rows->addLayout(buttons);
}

void ScaleVeDialog::accept() {
  if (!commands::scaleLdMapCommand(m_ws, m_prompts, m_oldPw->text().toStdString(),
                                   m_newPw->text().toStdString())
           .ok())
    return;
  if (m_tableRewritten) m_tableRewritten();
  QDialog::accept();
}

}  // namespace tallimar::ui
