// The injector flow at a changed fuel pressure.
#include "vemap/fuel_pressure.h"

#include <cmath>

#include "common/number_text.h"
#include "vemap/table_editing.h"

namespace tallimar::vemap {

double toPsi(double pressure, PressureUnit unit) {
  switch (unit) {
    case PressureUnit::KPa:
      return pressure * kPsiPerKPa;
    case PressureUnit::Bar:
      return pressure * kPsiPerBar;
    case PressureUnit::Psi:
      break;
  }
  return pressure;
}

std::optional<double> modifiedInjectorFlow(const FuelPressureInputs& inputs) {
  double f1 = cellTextNumber(inputs.stockFlow);
  if (inputs.stockFlowUnit == FlowUnit::CcPerMinute) f1 = f1 / kCcPerMinutePerLbPerHour;
  const double p1 = toPsi(cellTextNumber(inputs.stockPressure), inputs.stockPressureUnit);
  const double p2 = toPsi(cellTextNumber(inputs.modifiedPressure), inputs.modifiedPressureUnit);
  if (!(p1 > 0) || !(p2 > 0)) return std::nullopt;
  double f2 = std::sqrt(p2 / p1) * f1;
  if (inputs.modifiedFlowUnit == FlowUnit::CcPerMinute) f2 = f2 * kCcPerMinutePerLbPerHour;
  if (!std::isfinite(f2)) return std::nullopt;
  return f2;
}

std::optional<std::string> modifiedInjectorFlowText(const FuelPressureInputs& inputs) {
  const auto flow = modifiedInjectorFlow(inputs);
  if (!flow) return std::nullopt;
  return common::formatPattern(*flow, "####0.###");
}

}  // namespace tallimar::vemap
