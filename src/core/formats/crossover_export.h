// The crossover export (*.xls): the reduced raw data map as a tab-separated grid, then the
// crossover points of the last datalog, one line each, in character-code order of the line.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "common/expected.h"
#include "engine/crossover_point.h"
#include "engine/raw_data_map.h"
#include "settings/settings.h"

namespace tallimar::formats {

// A point's export line: MAP, RPM, Gego, Gve, GammaE, O2 (shortest text of the single
// value), NewVE, separated by tabs, without line end.
std::string crossoverExportLine(const engine::CrossoverPoint& point);

// Writes the whole export text to out, lines ended by CR LF; nothing is written when it fails
// (a stream that fails is left for its owner to report). dateTime is "date time" for the two
// titles. The grid has a row for MAP 1..MAPMax and a column for every RPM index from RPMMin/100 to
// RPMMax/100 (a fractional start goes up in steps of 1, each rounded half to even), showing
// Average when VERange is 0 and Median otherwise. Fails when MAPMax or the RPM range reaches
// outside the raw data map.
common::Outcome writeCrossoverExport(const engine::RawDataMap& map,
                                     const engine::CrossoverPoints& points,
                                     const settings::Settings& settings,
                                     const std::string& dateTime, std::ostream& out);

// The same text in memory.
common::Expected<std::string> buildCrossoverExport(const engine::RawDataMap& map,
                                                   const engine::CrossoverPoints& points,
                                                   const settings::Settings& settings,
                                                   const std::string& dateTime);

}  // namespace tallimar::formats
