// The "Fuel Pressure Calculator" (`frmFuelPressure`): an injector's flow at a new fuel
// pressure, F2 = F1 x sqrt(P2 / P1), recomputed as the user types or picks a unit. It
// touches no shared data; "OK" (`Command1`) closes it.
#pragma once

#include <QDialog>
#include <array>

#include "vemap/fuel_pressure.h"

class QLineEdit;
class QRadioButton;

namespace tallimar::ui {

class FuelPressureWindow : public QDialog {
  Q_OBJECT
 public:
  explicit FuelPressureWindow(QWidget* parent = nullptr);

  // Reads the fields and options; the result `txtModifiedFlow` keeps its text when a
  // pressure is not above 0.
  void recalculate();

 private:
  vemap::FuelPressureInputs inputs() const;

  QLineEdit* m_stockFlow = nullptr;
  QLineEdit* m_stockPressure = nullptr;
  QLineEdit* m_modifiedPressure = nullptr;
  QLineEdit* m_modifiedFlow = nullptr;
  std::array<QRadioButton*, 2> m_stockFlowUnit{};
  std::array<QRadioButton*, 3> m_stockPressureUnit{};
  std::array<QRadioButton*, 3> m_modifiedPressureUnit{};
  std::array<QRadioButton*, 2> m_modifiedFlowUnit{};
};

}  // namespace tallimar::ui
