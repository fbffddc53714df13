// "Fuel Pressure Calculator": an injector's flow at a new fuel pressure,
// F2 = F1 x sqrt(P2 / P1), worked in lb/hr and PSI.
#pragma once

#include <optional>
#include <string>

namespace tallimar::vemap {

enum class FlowUnit { LbPerHour, CcPerMinute };
enum class PressureUnit { Psi, KPa, Bar };

inline constexpr double kCcPerMinutePerLbPerHour = 10.5;
inline constexpr double kPsiPerKPa = 0.145037738;
inline constexpr double kPsiPerBar = 14.5037738;

// The calculator's inputs as the window holds them (texts read leniently, blanks ignored).
struct FuelPressureInputs {
  std::string stockFlow = "50";
  FlowUnit stockFlowUnit = FlowUnit::LbPerHour;
  std::string stockPressure = "15";
  PressureUnit stockPressureUnit = PressureUnit::Psi;
  std::string modifiedPressure = "20";
  PressureUnit modifiedPressureUnit = PressureUnit::Psi;
  FlowUnit modifiedFlowUnit = FlowUnit::LbPerHour;
};

double toPsi(double pressure, PressureUnit unit);

// The modified flow in the result's unit; nullopt when a pressure is not above 0 or the
// result is not a finite number (the result field then keeps its previous text).
std::optional<double> modifiedInjectorFlow(const FuelPressureInputs& inputs);

// The result text, pattern "####0.###" (57.735026... -> "57.735").
std::optional<std::string> modifiedInjectorFlowText(const FuelPressureInputs& inputs);

}  // namespace tallimar::vemap
