// The seed corpus, written by the program's own writers and the tests' datalog generator:
// small files of every kind the targets read.
#include <filesystem>
#include <fstream>
#include <span>
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

template <class Bytes>
void put(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << std::string(bytes.begin(), bytes.end());
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

// A small XML tune with an n x n VE table, filled in by the tune writer.
std::string tuneText(int n) {
  auto constant = [n](const char* name, int cols, int count) {
    std::string text = "  <constant cols=\"" + std::to_string(cols) + "\" digits=\"1\" name=\"" +
                       name + "\" rows=\"" + std::to_string(n) + "\" units=\"%\">";
    for (int i = 0; i < count; ++i) text += (i % cols == 0 ? "\n    " : " ") + std::string("0.0");
    return text + "\n  </constant>\n";
  };
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<msq xmlns=\"x\">\n<page number=\"1\">\n" +
      constant("veTable1", n, n * n) + constant("frpm_table1", 1, n) +
      constant("fmap_table1", 1, n) + "</page>\n</msq>\n";
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

  // A dump as the reader expects it: bins in columns 11-14, values every 8 columns from 11.
  std::string dump = "MegaTune dump\r\n";
  const std::pair<const char*, int> blocks[]{
      {"VE Table MAP", 1}, {"VE Table RPM", 1}, {"VE Table    \r\n[ 0 ]", 8}};
  for (const auto& [header, columns] : blocks) {
    dump += std::string(header) + "\r\n";
    for (int k = 0; k < 8; ++k) {
      dump += "   [" + std::to_string(k) + "]  = ";
      for (int r = 0; r < columns; ++r) {
        const std::string value = std::to_string(20 + 7 * k + r);
        dump += value + std::string(8 - value.size(), ' ');
      }
      dump += "\r\n";
    }
  }
  put(corpus / "ve_dump", "eight.dmp", dump);
  put(corpus / "ve_dump", "truncated.dmp", dump.substr(0, dump.size() / 2));

  put(corpus / "tune", "eight.msq", tuneText(8));
  put(corpus / "tune", "twelve.msq", tuneText(12));
  const ecu::EcuPage page = ecu::SimulatedEcu::builtInPage();
  put(corpus / "tune", "binary.msq", page);

  const auto rows = tools::initialWbRows();
  std::vector<tools::WbPoint> points;
  for (int i = 0; i < tools::usedWbRows({rows.begin(), rows.end()}); ++i)
    points.push_back(tools::wbPoint(rows[static_cast<std::size_t>(i)]));
  const std::string inc = tools::wbFactorFileText(tools::wbFineTable(points));
  put(corpus / "factor_table", "diywbfactor.inc", inc);
  put(corpus / "factor_table", "first_lines.inc", inc.substr(0, 400));

  put(corpus / "language", "Deutsch.Lang",
      std::string_view("frmMSMain,mnuExit,:Beenden\r\nfrmMSMain,mnuLanguage,3:Deutsch\r\n"
                       "frmMSMain,Label1,0:Status:\r\nfrmCalculateMap,cmdCalc,:Rechnen\r\n"));
  put(corpus / "language", "mixed_ends.lang", std::string_view("a,b,:c\rd,e,1:f\ng,h,:i\r\n\r\n"));

  const auto record = ecu::SimulatedEcu::realtimeRecord(12.5);
  put(corpus / "ecu_replies", "page", page);
  put(corpus / "ecu_replies", "short_page", std::span(page).first(64));
  put(corpus / "ecu_replies", "realtime", record);
  put(corpus / "ecu_replies", "writes", *ecu::encodeVeWrites(seedTable(8, 30)));
}

}  // namespace

void writeSeeds(const std::string& folder) {
  datalogSeeds(folder);
  tableSeeds(folder);
}

}  // namespace tallimar::fuzz
