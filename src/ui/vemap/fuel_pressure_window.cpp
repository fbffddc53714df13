// The fuel pressure calculator's form and its live result.
#include "ui/vemap/fuel_pressure_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/common/form_parts.h"

namespace tallimar::ui {
namespace {

template <std::size_t N>
QGroupBox* unitFrame(QWidget* parent, const char* frameName, const char* caption, QLineEdit* field,
                     const char* optionName, const std::array<const char*, N>& units,
                     std::array<QRadioButton*, N>& out) {
  QGroupBox* box = form::frame(parent, frameName, QString::fromUtf8(caption));
  auto* row = new QHBoxLayout(box);
  field->setParent(box);
  field->setFixedWidth(90);
  row->addWidget(field);
  for (std::size_t k = 0; k < N; ++k) {
    out[k] = form::option(box, optionName, static_cast<int>(k), QString::fromUtf8(units[k]));
    row->addWidget(out[k]);
  }
  out[0]->setChecked(true);
  row->addStretch();
  return box;
}

template <std::size_t N, class Unit>
Unit selected(const std::array<QRadioButton*, N>& options, const std::array<Unit, N>& units) {
  for (std::size_t k = 0; k < N; ++k)
    if (options[k]->isChecked()) return units[k];
  return units[0];
}

constexpr std::array<vemap::FlowUnit, 2> kFlowUnits{vemap::FlowUnit::LbPerHour,
                                                    vemap::FlowUnit::CcPerMinute};
constexpr std::array<vemap::PressureUnit, 3> kPressureUnits{
    vemap::PressureUnit::Psi, vemap::PressureUnit::KPa, vemap::PressureUnit::Bar};
constexpr std::array<const char*, 2> kFlowNames{"lb/hr", "cc/min"};
constexpr std::array<const char*, 3> kPressureNames{"PSI", "kPa", "Bar"};

}  // namespace

FuelPressureWindow::FuelPressureWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFuelPressure"));
  setWindowTitle(QStringLiteral("Fuel Pressure Calculator"));
  m_stockFlow = form::lineEdit(this, "txtStockFlow", QStringLiteral("50"));
  m_stockPressure = form::lineEdit(this, "txtStockPressure", QStringLiteral("15"));
  m_modifiedPressure = form::lineEdit(this, "txtModifiedPressure", QStringLiteral("20"));
  m_modifiedFlow = form::lineEdit(this, "txtModifiedFlow", QString());
  m_modifiedFlow->setReadOnly(true);

  auto* rows = new QVBoxLayout(this);
  auto* frames = new QGridLayout;
  rows->addLayout(frames);
  frames->addWidget(unitFrame(this, "fraStockFlow", "Stock Injector Flow", m_stockFlow,
                              "optStockInjectorFlow", kFlowNames, m_stockFlowUnit),
                    0, 0);
  frames->addWidget(
      unitFrame(this, "fraStockPressure", "Stock Injector Specified Pressure", m_stockPressure,
                "optStockInjectorPressure", kPressureNames, m_stockPressureUnit),
      0, 1);
  frames->addWidget(
      unitFrame(this, "fraModifiedPressure", "Modified Fuel Pressure", m_modifiedPressure,
                "optModifiedInjectorPressure", kPressureNames, m_modifiedPressureUnit),
      1, 1);
  frames->addWidget(unitFrame(this, "fraModifiedFlow", "Modified Injector Flow", m_modifiedFlow,
                              "optModifiedInjectorFlow", kFlowNames, m_modifiedFlowUnit),
                    1, 0);

  auto* bottom = new QHBoxLayout;
  QLabel* formula = form::label(this, "lblFormula", QStringLiteral("F2 = F1 * Sqrt(P2/P1)"));
  QFont bigger = formula->font();
  bigger.setBold(true);
  formula->setFont(bigger);
  bottom->addWidget(formula);
  bottom->addStretch();
  QPushButton* ok = form::button(this, "Command1", QStringLiteral("OK"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  bottom->addWidget(ok);
  rows->addLayout(bottom);

  for (QLineEdit* field : {m_stockFlow, m_stockPressure, m_modifiedPressure}) {
    connect(field, &QLineEdit::textChanged, this, &FuelPressureWindow::recalculate);
    connect(field, &QLineEdit::editingFinished, this, &FuelPressureWindow::recalculate);
  }
  for (QRadioButton* o : findChildren<QRadioButton*>())
    connect(o, &QRadioButton::clicked, this, &FuelPressureWindow::recalculate);
  recalculate();
}

vemap::FuelPressureInputs FuelPressureWindow::inputs() const {
  vemap::FuelPressureInputs in;
  in.stockFlow = m_stockFlow->text().toStdString();
  in.stockFlowUnit = selected(m_stockFlowUnit, kFlowUnits);
  in.stockPressure = m_stockPressure->text().toStdString();
  in.stockPressureUnit = selected(m_stockPressureUnit, kPressureUnits);
  in.modifiedPressure = m_modifiedPressure->text().toStdString();
  in.modifiedPressureUnit = selected(m_modifiedPressureUnit, kPressureUnits);
  in.modifiedFlowUnit = selected(m_modifiedFlowUnit, kFlowUnits);
  return in;
}

void FuelPressureWindow::recalculate() {
  if (const auto text = vemap::modifiedInjectorFlowText(inputs()))
    m_modifiedFlow->setText(QString::fromStdString(*text));
}

}  // namespace tallimar::ui
