// The seed corpus, written by the program's own writers and the tests' datalog generator:
// small files of every kind the targets read.
#include <filesystem>
#include <fstream>
#include <vector>

#include "ecu/simulated_ecu.h"
#include "ecu/ve_page.h"
#include "formats/raw_map_file.h"
#include "formats/ve_exchange_writer.h"
#include "formats/xml_tune.h"
#include "fuzz_targets.h"
#include "support/datalog_generator.h"
#include "tools/wb_factor_table.h"

namespace tallimar::fuzz {
namespace {

namespace fs = std::filesystem;
using testsupport::DatalogShape;
using testsupport::LogLayout;

void put(const fs::path& folder, const std::string& name, std::string_view bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(bytes.data(), static_cast<long>(bytes.size()));
}

vemap::VeTable seedTable(int size, int valueBase) {
  vemap::VeTable table;
  table.sizeRpm = table.sizeMap = static_cast<std::int16_t>(size);
  table.setStartupBins();
  table.rpmBins[1] = 1250;
  for (int r = 0; r < size; ++r)
    for (int m = 0; m < size; ++m)
      table.at(r, m) = static_cast<std::int16_t>(valueBase + 3 * r + m);
  return table;
}

std::string tuneConstant(const char* name, int rows, int cols, const std::string& numbers) {
  return "  <constant cols=\"" + std::to_string(cols) + "\" digits=\"1\" name=\"" + name +
         "\" rows=\"" + std::to_string(rows) + "\" units=\"%\">\n" + numbers + "\n  </constant>\n";
}

// A small XML tune with an n x n VE table, filled in by the tune writer.
std::string tuneText(int n) {
  std::string zeros;
  for (int i = 0; i < n * n; ++i) zeros += (i % n == 0 ? "\n    " : " ") + std::string("0.0");
  std::string axis;
  for (int i = 0; i < n; ++i) axis += "    0.0\n";
  std::string text =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<msq xmlns=\"x\">\n<page number=\"1\">\n";
  text += tuneConstant("veTable1", n, n, zeros) + tuneConstant("frpm_table1", n, 1, axis) +
          tuneConstant("fmap_table1", n, 1, axis) + "</page>\n</msq>\n";
  const auto written = formats::writeTuneVeTable(text, seedTable(n, 40));
  return written ? written->bytes : text;
}

DatalogShape shape(LogLayout layout, std::int64_t samples, std::uint32_t seed,
                   double statusGapChance = 0.004) {
  DatalogShape made;
  made.layout = layout;
  made.samples = samples;
  made.seed = seed;
  made.statusGapChance = statusGapChance;
  return made;
}

void datalogSeeds(const fs::path& corpus) {
  DatalogShape unended = shape(LogLayout::Classic, 6, 4);
  unended.lineEnd = "\r";
  unended.lastLineEnded = false;
  unended.lowerCaseHeader = true;
  const std::vector<std::pair<const char*, DatalogShape>> shapes{
      {"classic.xls", shape(LogLayout::Classic, 12, 1)},
      {"full.xls", shape(LogLayout::Full, 12, 2)},
      {"no_line_feeds.xls", shape(LogLayout::NoLineFeed, 12, 3)},
      {"classic_cr_unended.xls", unended},
      {"full_gaps.xls", shape(LogLayout::Full, 20, 5, 0.3)},
  };
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    const std::string text = testsupport::generateDatalog(shapes[i].second);
    put(corpus / "datalog", shapes[i].first, text);
    // The fast line reader gets the data lines, after a byte naming the layout.
    const LogLayout layout = shapes[i].second.layout;
    const auto first = static_cast<char>(static_cast<std::size_t>(layout) + 3 * i);
    const std::size_t header = text.find(layout == LogLayout::NoLineFeed ? '\n' : '\r') + 1;
    put(corpus / "datalog_lines", shapes[i].first,
        first + text.substr(header + (text[header] == '\n')));
  }
  for (int columns : {12, 20}) {
    fs::create_directories(corpus / "msl");
    const std::string name = "columns_" + std::to_string(columns) + ".msl";
    testsupport::writeMslDatalog(
        (corpus / "msl" / name).string(),
        shape(LogLayout::Classic, 10, static_cast<std::uint32_t>(columns), 0.2), columns);
  }
}

void tableSeeds(const fs::path& corpus) {
  // Raw data map: the first records of a map with values (the target completes the map).
  engine::RawDataMap map;
  map.at(3, 0) = {" 62, 70", 66, 66};
  map.at(7, 0) = {" 55,-3, 81, 60", 64, 39};
  map.at(150, 0) = {" 100", 100, 100};
  const std::string file = *formats::encodeRawMapFile(map);
  put(corpus / "raw_map", "first_records", '\0' + file.substr(0, 151 * 6 + 30));
  put(corpus / "raw_map", "one_byte_short", '\2' + file.substr(0, 200));
  put(corpus / "raw_map", "as_is", '\3' + file.substr(0, 64));

  put(corpus / "ve_exchange", "eight.vex", *formats::veExchangeText(seedTable(8, 20)));
  put(corpus / "ve_exchange", "sixteen_wide.vex", *formats::veExchangeText(seedTable(16, 95)));
  put(corpus / "ve_exchange", "negative.vex", *formats::veExchangeText(seedTable(4, -40)));

  std::string dump = "MegaTune dump\r\nVE Table MAP\r\n";
  for (int k = 0; k < 8; ++k)
    dump += "  [" + std::to_string(k) + "]  = " + std::to_string(20 + 10 * k) + "\r\n";
  dump += "VE Table RPM\r\n";
  for (int k = 0; k < 8; ++k)
    dump += "  [" + std::to_string(k) + "]  = " + std::to_string(5 + 7 * k) + "\r\n";
  dump += "VE Table    \r\n         0       1\r\n";
  for (int m = 0; m < 8; ++m) {
    std::string row = "  [" + std::to_string(m) + "]  =";
    for (int r = 0; r < 8; ++r) row += "  " + std::to_string(30 + 4 * m + r) + "    ";
    dump += row.substr(0, 72) + "\r\n";
  }
  put(corpus / "ve_dump", "eight.dmp", dump);
  put(corpus / "ve_dump", "truncated.dmp", dump.substr(0, dump.size() / 2));

  put(corpus / "tune", "eight.msq", tuneText(8));
  put(corpus / "tune", "twelve.msq", tuneText(12));
  const ecu::EcuPage page = ecu::SimulatedEcu::builtInPage();
  put(corpus / "tune", "binary.msq", {reinterpret_cast<const char*>(page.data()), page.size()});

  const auto rows = tools::initialWbRows();
  std::vector<tools::WbPoint> points;
  for (int i = 0; i < tools::usedWbRows({rows.begin(), rows.end()}); ++i)
    points.push_back(tools::wbPoint(rows[static_cast<std::size_t>(i)]));
  const std::string inc = tools::wbFactorFileText(tools::wbFineTable(points));
  put(corpus / "factor_table", "diywbfactor.inc", inc);
  put(corpus / "factor_table", "first_lines.inc", inc.substr(0, 400));

  put(corpus / "language", "Deutsch.Lang",
      "frmMSMain,mnuExit,:Beenden\r\nfrmMSMain,mnuLanguage,3:Deutsch\r\n"
      "frmMSMain,Label1,0:Status:\r\nfrmCalculateMap,cmdCalc,:Rechnen\r\n");
  put(corpus / "language", "mixed_ends.lang", "a,b,:c\rd,e,1:f\ng,h,:i\r\n\r\n");

  const auto record = ecu::SimulatedEcu::realtimeRecord(12.5);
  put(corpus / "ecu_replies", "page", {reinterpret_cast<const char*>(page.data()), page.size()});
  put(corpus / "ecu_replies", "short_page", {reinterpret_cast<const char*>(page.data()), 64});
  put(corpus / "ecu_replies", "realtime",
      {reinterpret_cast<const char*>(record.data()), record.size()});
  vemap::VeTable table = seedTable(8, 30);
  const auto writes = *ecu::encodeVeWrites(table);
  put(corpus / "ecu_replies", "writes",
      {reinterpret_cast<const char*>(writes.data()), writes.size()});
}

}  // namespace

void writeSeeds(const std::string& folder) {
  datalogSeeds(folder);
  tableSeeds(folder);
}

}  // namespace tallimar::fuzz
