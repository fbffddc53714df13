// Pulse-width scaling, the target-AFR preview and apply, and the fuel-pressure calculator.
#include "vemap/map_tools.h"

#include <gtest/gtest.h>

#include <tuple>

#include "vemap/fuel_pressure.h"

namespace tallimar::vemap {
namespace {

VeTable filledTable(int sizeRpm, int sizeMap, std::int16_t value) {
  VeTable table;
  table.sizeRpm = static_cast<std::int16_t>(sizeRpm);
  table.sizeMap = static_cast<std::int16_t>(sizeMap);
  for (auto& row : table.ve) row.fill(value);
  return table;
}

TEST(ScaleByPulseWidth, MultipliesActiveCellsRoundingHalfToEvenOrChangesNothing) {
  VeTable table = filledTable(8, 8, 90);
  table.ve[0][0] = 55;
  table.ve[1][0] = 57;
  table.ve[2][0] = -6;
  EXPECT_EQ(scaleByPulseWidth(table, 6.5, 13), ScaleOutcome::Scaled);
  // 27.5 and 28.5 both to 28; the inactive cell (8, 0) keeps 90.
  EXPECT_EQ(
      std::tuple(table.ve[0][0], table.ve[1][0], table.ve[2][0], table.ve[7][7], table.ve[8][0]),
      std::tuple(28, 28, -3, 45, 90));

  // A zero width or an overflow changes nothing.
  table = filledTable(8, 8, 90);
  EXPECT_EQ(scaleByPulseWidth(table, 0, 6.5), ScaleOutcome::ZeroPulseWidth);
  EXPECT_EQ(scaleByPulseWidth(table, 6.5, 0), ScaleOutcome::ZeroPulseWidth);
  EXPECT_EQ(table.ve, filledTable(8, 8, 90).ve);
  table.ve[7][7] = 400;
  const VeTable bigger = table;
  EXPECT_EQ(scaleByPulseWidth(table, 100, 1), ScaleOutcome::OutOfRange);  // 40000
  EXPECT_EQ(table.ve, bigger.ve);
}

TEST(TargetAfr, NonPositiveTargetStopsAtItsRowInvalidBaselineChangesNothing) {
  VeTable table = filledTable(8, 8, 60);
  AfrGrid shown = afrGridFromTable(table);
  std::array<double, kMaxBins> targets;
  targets.fill(12.25);
  EXPECT_EQ(previewTargetAfr(table, 14.7, targets, shown).outcome, AfrPreviewOutcome::Complete);
  EXPECT_EQ(shown[7][7], 72);  // 60 x 14.7 / 12.25
  targets.fill(14.7);
  targets[3] = 0;  // typing "0.9": a momentary 0
  const auto stopped = previewTargetAfr(table, 14.7, targets, shown);
  EXPECT_EQ(stopped.outcome, AfrPreviewOutcome::StoppedAtRow);
  // Rows from the stop keep what they showed.
  EXPECT_EQ(std::tuple(stopped.stoppedRow, shown[0][2], shown[0][3], shown[7][7]),
            std::tuple(3, 60.0, 72.0, 72.0));

  const AfrGrid before = shown;
  EXPECT_EQ(previewTargetAfr(table, 0, targets, shown).outcome, AfrPreviewOutcome::InvalidBaseline);
  EXPECT_EQ(shown, before);
}

TEST(TargetAfr, ApplyCopiesEachActiveCellFromItsOwnGridCell) {
  VeTable table = filledTable(12, 8, 50);
  AfrGrid shown{};
  for (std::size_t r = 0; r < 16; ++r)
    for (std::size_t m = 0; m < 16; ++m) shown[r][m] = static_cast<double>(r * 100 + m);
  ASSERT_TRUE(applyTargetAfr(table, shown));
  EXPECT_EQ(std::tuple(table.ve[11][7], table.ve[3][5], table.ve[12][0], table.ve[0][8]),
            std::tuple(1107, 305, 50, 50));
  shown[2][2] = 70000;
  const VeTable before = table;
  EXPECT_FALSE(applyTargetAfr(table, shown));
  EXPECT_EQ(table.ve, before.ve);
}

TEST(FuelPressure, FlowAtTheModifiedPressureOrNoneForAPressureNotAbove0) {
  FuelPressureInputs in;  // 50 lb/hr at 15 PSI, modified 20 PSI
  EXPECT_EQ(modifiedInjectorFlowText(in), "57.735");
  in.modifiedFlowUnit = FlowUnit::CcPerMinute;
  EXPECT_EQ(modifiedInjectorFlowText(in), "606.218");
  FuelPressureInputs units;  // 525 cc/min is 50 lb/hr; 300 kPa is 3 bar
  units.stockFlow = "525";
  units.stockFlowUnit = FlowUnit::CcPerMinute;
  units.stockPressure = "300";
  units.stockPressureUnit = PressureUnit::KPa;
  units.modifiedPressure = "3";
  units.modifiedPressureUnit = PressureUnit::Bar;
  EXPECT_EQ(modifiedInjectorFlowText(units), "50");
  for (const auto& [stock, modified] : {std::pair{"0", "20"}, {"15", "-2"}, {"15", "1e999"}}) {
    in.stockPressure = stock;
    in.modifiedPressure = modified;
    EXPECT_EQ(modifiedInjectorFlowText(in), std::nullopt) << stock << " " << modified;
  }
}

}  // namespace
}  // namespace tallimar::vemap
