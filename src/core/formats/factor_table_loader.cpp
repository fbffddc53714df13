// The *.inc reader: "DB" lines, the value up to the first "T", partial loads on failure.
#include "formats/factor_table_loader.h"

#include "common/file_lookup.h"
#include "common/number_text.h"
#include "common/text_lines.h"

namespace tallimar::formats {

FactorLoadResult readFactorTableText(std::string_view text, FactorTable& table) {
  FactorLoadResult result;
  int lineNumber = 0;
  for (const std::string& line : common::splitLines(text)) {
    ++lineNumber;
    const auto db = line.find("DB");
    if (db == std::string::npos) continue;
    auto fail = [&](FactorLoadError error) {
      result.error = error;
      result.failedLine = lineNumber;
      return result;
    };
    if (result.entriesStored == static_cast<int>(table.size()))
      return fail(FactorLoadError::TooManyLines);
    const auto t = line.find('T');
    if (t == std::string::npos || t < db + 2) return fail(FactorLoadError::NoValueText);
    const auto value = common::parseInt16(std::string_view(line).substr(db + 2, t - (db + 2)));
    if (!value) return fail(FactorLoadError::OutOfRange);
    table[static_cast<std::size_t>(result.entriesStored++)] = *value;
  }
  // A file without a single table line loads nothing: telling the user it was loaded
  // would hide that the table still holds raw ADC counts.
  if (result.entriesStored == 0) result.error = FactorLoadError::NoTableLines;
  return result;
}

FactorLoadResult loadFactorTable(const std::string& folder, const std::string& fileName,
                                 FactorTable& table) {
  FactorLoadResult result;
  const auto path = common::findFileIgnoringCase(folder, fileName);
  if (!path) {
    result.error = FactorLoadError::Missing;
    return result;
  }
  const auto bytes = common::readWholeFile(*path, kMaxFactorFileBytes);
  if (!bytes) {
    result.error = FactorLoadError::Unreadable;
    return result;
  }
  return readFactorTableText(*bytes, table);
}

std::array<FactorLoadResult, kFactorTableCount> loadAllFactorTables(const std::string& incPath,
                                                                    FactorTables& tables,
                                                                    common::StatusLog& log) {
  std::array<FactorLoadResult, kFactorTableCount> results;
  for (std::size_t i = 0; i < kFactorFiles.size(); ++i) {
    const FactorFile& file = kFactorFiles[i];
    results[i] = loadFactorTable(incPath, file.fileName, tables[file.kind]);
    log.append(results[i].ok() ? std::string(file.shownName) + " Loaded"
                               : "Failed Loading " + std::string(file.shownName));
  }
  return results;
}

}  // namespace tallimar::formats
