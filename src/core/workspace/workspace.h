// The Workspace: all working data of one run of the program, created by main() and handed
// by reference to every window and command. There are no globals; a test makes its own.
#pragma once

#include <cstdint>

#include "engine/crossover_point.h"
#include "engine/raw_data_map.h"
#include "formats/factor_tables.h"
#include "language/language_table.h"
#include "settings/settings.h"
#include "vemap/filtered_map.h"
#include "vemap/ve_table.h"

namespace tallimar::workspace {

struct Workspace {
  settings::Settings settings;
  formats::FactorTables factors;       // identity until loaded from the settings' INCPath
  engine::CrossoverPoints crossovers;  // points of the last datalog read
  engine::RawDataMap rawMap;
  bool rawDataMapPresent = false;
  bool datalogPresent = false;
  vemap::VeTable veTable;  // bins, values and the two table flags
  vemap::FilteredMap filteredMap;
  // Every change of the raw data map counts rawMapRevision up; filtering notes the revision
  // it read. A filtered map made from an older raw data map is still the one "Calculate Map"
  // reads, so the commands can tell the user it is out of date.
  std::uint64_t rawMapRevision = 0;
  std::uint64_t filteredFromRevision = 0;
  language::LanguageTable languageTable;  // lines of the last *.Lang file read

  Workspace() { factors.setIdentity(); }

  bool filteredMapOutdated() const {
    return veTable.filteredMapPresent && filteredFromRevision != rawMapRevision;
  }
};

}  // namespace tallimar::workspace
