// Layout of the forms without a computation.
#include "ui/vemap/inert_forms.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/common/form_parts.h"

namespace tallimar::ui {
namespace {

// A row of option buttons of one control array; the row is their own parent, so each row
// is an exclusive choice of its own. The first option starts selected.
QWidget* optionRow(QWidget* parent, const char* name, std::initializer_list<const char*> captions) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  int index = 0;
  for (const char* caption : captions) {
    QRadioButton* option = form::option(row, name, index++, QString::fromUtf8(caption));
    option->setChecked(index == 1);
    layout->addWidget(option);
  }
  layout->addStretch();
  return row;
}

// "field [options]" on one form row.
QWidget* withOptions(QWidget* parent, QLineEdit* field, QWidget* options) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  field->setParent(row);
  field->setMaximumWidth(90);
  layout->addWidget(field);
  options->setParent(row);
  layout->addWidget(options);
  return row;
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : buttons) row->addWidget(b);
  return row;
}

}  // namespace

BestFitBinsDialog::BestFitBinsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmBestFitBins"));
  setWindowTitle(QStringLiteral("Best Fit RPM/MAP Bins"));
  auto* rows = new QVBoxLayout(this);
  auto* frames = new QHBoxLayout;
  rows->addLayout(frames);

  QGroupBox* rpm = form::frame(this, "fraRPMBins", QStringLiteral("RPM Bins"));
  auto* rpmForm = new QFormLayout(rpm);
  rpmForm->addRow(form::label(rpm, "lblRPMMin", QStringLiteral("Idle RPM:")),
                  form::lineEdit(rpm, "txtRPMMin", QStringLiteral("300")));
  rpmForm->addRow(form::label(rpm, "lblRPMMax", QStringLiteral("Redline RPM:")),
                  form::lineEdit(rpm, "txtRPMMax", QStringLiteral("6500")));
  rpmForm->addRow(form::checkBox(rpm, "chkRPMBins", QStringLiteral("Modify RPM Bins")));
  frames->addWidget(rpm);

  QGroupBox* map = form::frame(this, "fraMAPBins", QStringLiteral("MAP Bins"));
  auto* mapForm = new QFormLayout(map);
  mapForm->addRow(form::label(map, "lblMAPMin", QStringLiteral("Lowest MAP:")),
                  form::lineEdit(map, "txtMAPMin", QStringLiteral("28")));
  mapForm->addRow(form::label(map, "lblMAPMax", QStringLiteral("Highest MAP:")),
                  form::lineEdit(map, "txtMAPMax", QStringLiteral("100")));
  mapForm->addRow(form::checkBox(map, "chkMAPBins", QStringLiteral("Modify MAP Bins")));
  frames->addWidget(map);

  QPushButton* ok = form::button(this, "Command1", QStringLiteral("OK"));
  QPushButton* cancel = form::button(this, "Command2", QStringLiteral("Cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  rows->addLayout(buttonRow({ok, cancel}));
}

UserInfoWindow::UserInfoWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmUserInfo"));
  setWindowTitle(QStringLiteral("User Information"));
  auto* rows = new QVBoxLayout(this);
  auto* fields = new QFormLayout;
  rows->addLayout(fields);
  QLineEdit* revision = form::lineEdit(this, "txtMapRevision", QStringLiteral("1.0"));
  revision->setMaximumWidth(90);
  fields->addRow(form::label(this, "lblMapRevision", QStringLiteral("Map Revision Level:")),
                 revision);
  auto* comments = new QPlainTextEdit(this);
  comments->setObjectName(QStringLiteral("txtMapComments"));
  comments->setMinimumSize(320, 110);
  fields->addRow(form::label(this, "lblMapComments", QStringLiteral("Map Comments:")), comments);
  fields->addRow(form::checkBox(this, "chkAutoIncrement", QStringLiteral("Auto Increment")));
  rows->addLayout(buttonRow({form::button(this, "cmdSave", QStringLiteral("Save")),
                             form::button(this, "cmdCancel", QStringLiteral("Cancel"))}));
}

FuelRequirementWindow::FuelRequirementWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFuelRequirement"));
  setWindowTitle(QStringLiteral("Fuel Requirement Calculator"));
  auto* rows = new QVBoxLayout(this);
  auto* fields = new QFormLayout;
  rows->addLayout(fields);
  auto text = [this](const char* name, const char* initial) {
    QLineEdit* edit = form::lineEdit(this, name, QString::fromUtf8(initial));
    edit->setMaximumWidth(90);
    return edit;
  };
  auto caption = [this](const char* name, const char* words) {
    return form::label(this, name, QString::fromUtf8(words));
  };
  fields->addRow(caption("lblDisplacement", "Total Displacement:"),
                 withOptions(this, text("txtDisplacement", "3800"),
                             optionRow(this, "optEngineSize", {"CID", "CC"})));
  fields->addRow(caption("lblCylinders", "Number of Cylinders:"), text("txtCylinders", "6"));
  fields->addRow(caption("lblInjFlow", "Injector Flow:"),
                 withOptions(this, text("txtInjFlow", "50"),
                             optionRow(this, "optInjectorFlow", {"lb/hr", "cc/min"})));
  fields->addRow(caption("lblAFR", "Stoich for Fuel Used:"), text("txtAFR", "14.7"));
  fields->addRow(caption("lblInjNum", "Number of Injectors:"), text("txtInjNum", "2"));
  fields->addRow(caption("lblPW", "Required Fuel PW:"), text("txtPW", "Text5"));
  QPushButton* ok = form::button(this, "Command1", QStringLiteral("OK"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  rows->addLayout(buttonRow({ok}));
}

}  // namespace tallimar::ui
