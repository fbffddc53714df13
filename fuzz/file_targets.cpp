// Fuzz targets of the table files: raw data map, VE exchange and dump files, tunes, factor
// tables and language files. A refused file must leave the tables as they were; a loaded
// one must come back the same when written again (or, without a writer, when read again).
#include <string>
#include <vector>

#include "common/text_lines.h"
#include "formats/factor_table_loader.h"
#include "formats/raw_map_file.h"
#include "formats/ve_exchange_writer.h"
#include "formats/ve_map_readers.h"
#include "formats/xml_tune.h"
#include "fuzz_targets.h"
#include "language/language_table.h"

namespace tallimar::fuzz {
namespace {

using vemap::VeTable;

// A table whose every entry differs from its neighbours, so that any entry a reader
// should not touch shows when it does.
VeTable patternedTable() {
  VeTable table;
  table.setStartupBins();
  for (int r = 0; r < vemap::kMaxBins; ++r)
    for (int m = 0; m < vemap::kMaxBins; ++m)
      table.at(r, m) = static_cast<std::int16_t>(r * 17 + m);
  table.lowDensityMapPresent = true;
  return table;
}

bool sameTables(const VeTable& a, const VeTable& b) {
  return a.sizeRpm == b.sizeRpm && a.sizeMap == b.sizeMap && a.rpmBins == b.rpmBins &&
         a.mapBins == b.mapBins && a.ve == b.ve &&
         a.lowDensityMapPresent == b.lowDensityMapPresent &&
         a.filteredMapPresent == b.filteredMapPresent;
}

std::string_view textOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

// The first byte chooses how the rest becomes a file: its whole records completed with
// empty ones to a whole map (which must load and save to the same bytes), the same with one
// byte more or less (which must be refused), or the bytes as they are.
int fuzzRawMap(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int mode = data[0] % 4;
  std::string file(textOf(data + 1, size - 1));
  if (mode != 3) {
    std::size_t at = 0;
    std::size_t records = 0;
    while (records < formats::kRawMapRecords && at + 2 <= file.size()) {
      const std::size_t length = static_cast<std::size_t>(static_cast<unsigned char>(file[at])) |
                                 static_cast<std::size_t>(static_cast<unsigned char>(file[at + 1]))
                                     << 8;
      if (at + 6 + length > file.size()) break;
      at += 6 + length;
      ++records;
    }
    file.resize(at);
    file.append((formats::kRawMapRecords - records) * 6, '\0');
    if (mode == 1) file += 'x';
    if (mode == 2) file.pop_back();
  }
  const auto map = formats::loadRawMapFile(inputFile(file));
  FUZZ_CHECK(mode == 3 || map.ok() == (mode == 0));
  if (!map) return 0;
  const auto saved = formats::encodeRawMapFile(*map);
  FUZZ_CHECK(saved && *saved == file);
  return 0;
}

int fuzzVeExchange(const std::uint8_t* data, std::size_t size) {
  const VeTable before = patternedTable();
  VeTable table = before;
  if (!formats::readVeExchange(textOf(data, size), table)) {
    FUZZ_CHECK(sameTables(table, before));
    return 0;
  }
  FUZZ_CHECK(VeTable::validSize(table.sizeRpm) && VeTable::validSize(table.sizeMap));
  FUZZ_CHECK(table.lowDensityMapPresent == before.lowDensityMapPresent);
  const auto written = formats::veExchangeText(table);
  if (!written) return 0;  // a value too wide for the file's columns: the save is refused
  // Read back into the table as it was before, it writes the same text again.
  VeTable again = before;
  FUZZ_CHECK(formats::readVeExchange(*written, again));
  const auto rewritten = formats::veExchangeText(again);
  FUZZ_CHECK(rewritten && *rewritten == *written);
  return 0;
}

int fuzzVeDump(const std::uint8_t* data, std::size_t size) {
  const VeTable before = patternedTable();
  VeTable table = before;
  if (!formats::readMegaTuneDump(textOf(data, size), table)) {
    FUZZ_CHECK(sameTables(table, before));
    return 0;
  }
  // A dump never changes the sizes, and reading it once more changes nothing.
  FUZZ_CHECK(table.sizeRpm == before.sizeRpm && table.sizeMap == before.sizeMap);
  VeTable again = table;
  FUZZ_CHECK(formats::readMegaTuneDump(textOf(data, size), again));
  FUZZ_CHECK(sameTables(again, table));
  return 0;
}

int fuzzTune(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = textOf(data, size);
  const auto tune = formats::readTuneVeTable(bytes);
  if (!tune) return 0;
  VeTable table = patternedTable();
  FUZZ_CHECK(VeTable::validSize(tune->sizeRpm) && VeTable::validSize(tune->sizeMap));
  tune->copyInto(table);
  // The table written back into its own tune reads back the same, and writing it once more
  // gives the same bytes.
  const auto written = formats::writeTuneVeTable(bytes, table);
  FUZZ_CHECK(written.ok());
  const auto reread = formats::readTuneVeTable(written->bytes);
  FUZZ_CHECK(reread && reread->constantsText() == tune->constantsText());
  FUZZ_CHECK(reread->rpmBins == tune->rpmBins && reread->mapBins == tune->mapBins &&
             reread->ve == tune->ve);
  const auto again = formats::writeTuneVeTable(written->bytes, table);
  FUZZ_CHECK(again && again->bytes == written->bytes);
  return 0;
}

int fuzzFactorTable(const std::uint8_t* data, std::size_t size) {
  formats::FactorTable before;
  for (std::size_t i = 0; i < before.size(); ++i) before[i] = static_cast<std::int16_t>(i * 37);
  formats::FactorTable table = before;
  const auto result = formats::readFactorTableText(textOf(data, size), table);
  // Entries from the first one not stored on keep their values, loaded or refused.
  const auto stored = static_cast<std::size_t>(result.entriesStored);
  FUZZ_CHECK(stored <= table.size());
  FUZZ_CHECK(std::equal(table.begin() + static_cast<long>(stored), table.end(),
                        before.begin() + static_cast<long>(stored)));
  FUZZ_CHECK(result.ok() || result.error == formats::FactorLoadError::NoTableLines ||
             result.failedLine > 0);
  if (!result.ok()) return 0;
  std::string written;
  for (std::size_t i = 0; i < stored; ++i)
    written += "\tDB\t" + std::to_string(table[i]) + "T\t; entry\r\n";
  formats::FactorTable again = before;
  const auto reread = formats::readFactorTableText(written, again);
  FUZZ_CHECK(reread.ok() && reread.entriesStored == result.entriesStored && again == table);
  return 0;
}

int fuzzLanguage(const std::uint8_t* data, std::size_t size) {
  // The table holds an earlier file's lines.
  static const language::LanguageTable before = [] {
    language::LanguageTable earlier;
    std::string text;
    for (int i = 0; i < 600; i += 7) text += "frmMSMain,Label1," + std::to_string(i) + ":x\r\n";
    earlier.readText(text);
    return earlier;
  }();
  language::LanguageTable table = before;
  const std::vector<std::string> lines = common::splitLines(textOf(data, size));
  const bool read = table.readText(textOf(data, size));
  FUZZ_CHECK(read == (lines.size() <= language::kLanguageTableLines));
  // Line i of the file is entry i; entries past the file's lines keep what they held.
  for (std::size_t i = 0; i < language::kLanguageTableLines; ++i)
    FUZZ_CHECK(table.line(i) == (i < lines.size() ? lines[i] : before.line(i)));
  if (!read) return 0;
  std::string written;
  for (const std::string& line : lines) written += line + "\r\n";
  language::LanguageTable again = before;
  FUZZ_CHECK(again.readText(written));
  for (std::size_t i = 0; i < language::kLanguageTableLines; ++i)
    FUZZ_CHECK(again.line(i) == table.line(i));
  return 0;
}

}  // namespace tallimar::fuzz
