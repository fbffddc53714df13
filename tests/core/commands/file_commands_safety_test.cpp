// What the file commands tell the tuner when a file is no file, a save is refused, a raw data
// map carries extra bytes, or a bin's mean does not fit 16 bits.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "commands/open_datalog.h"
#include "commands/raw_map_commands.h"
#include "commands/ve_map_commands.h"
#include "commands/ve_map_file_commands.h"
#include "commands/ve_tune_commands.h"
#include "common/scripted_prompts.h"
#include "formats/factor_table_loader.h"
#include "formats/raw_map_file.h"
#include "language/language_table.h"
#include "support/run_within.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

class FileCommandsSafety : public testsupport::TempDirTest {
 public:  // the reader table below drives the fixture from outside
  using TempDirTest::dir;
  using TempDirTest::path;
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  common::VectorStatusLog status;
  engine::NullCrossoverList list;
  CommandOptions options{"/opt/tallimar", {}, [] { return std::string("1/2/2025 3:04:05 PM"); }};
};

// Every command that reads a file the user chose, with the lines it leaves for a file named
// `name` that is no regular file.
struct Reader {
  std::string name;
  std::function<Lines(FileCommandsSafety&, const std::string& path)> run;
  Lines expected;
};

TEST_F(FileCommandsSafety, EveryReaderRefusesFifosAndDevicesAtOnce) {
  // The refusal lines (a datalog command goes on with the next file and the map build).
  const auto openWith = [](FileCommandsSafety& t, const std::string& path, auto command) {
    t.prompts.openAnswers.push_back({path});
    (void)command(t);
    return Lines(t.status.lines.begin(),
                 t.status.lines.begin() + std::min<std::size_t>(3, t.status.lines.size()));
  };
  const std::vector<Reader> readers = {
      {"log.xls",
       [&](FileCommandsSafety& t, const std::string& p) {
         return openWith(t, p, [](FileCommandsSafety& s) {
           return openDatalog(s.ws, s.prompts, s.status, s.list, s.options);
         });
       },
       {"DataLog Read Error", "log.xls is not a file", "Building Crossover Array"}},
      {"log.msl",
       [&](FileCommandsSafety& t, const std::string& p) {
         return openWith(t, p, [](FileCommandsSafety& s) {
           return openDatalog(s.ws, s.prompts, s.status, s.list, s.options);
         });
       },
       {"DataLog Read Error", "log.msl is not a file", "Building Crossover Array"}},
      {"map.HDMAP",
       [&](FileCommandsSafety& t, const std::string& p) {
         return openWith(t, p, [](FileCommandsSafety& s) {
           return openRawDataMap(s.ws, s.prompts, s.status, s.options);
         });
       },
       {"Loading Raw Data Map", "map.HDMAP is not a file", "Loading Failed"}},
      {"table.vex",
       [](FileCommandsSafety& t, const std::string& p) {
         (void)importVeMapFile(t.ws, p, t.status);
         return t.status.lines;
       },
       {"Importing MegaTune Dump File", "table.vex is not a file", "Loading Failed"}},
      {"dump.dmp",
       [](FileCommandsSafety& t, const std::string& p) {
         (void)importVeMapFile(t.ws, p, t.status);
         return t.status.lines;
       },
       {"Importing MegaTune Dump File", "dump.dmp is not a file", "Loading Failed"}},
      {"tune.msq",
       [](FileCommandsSafety& t, const std::string& p) {
         (void)importVeMapFile(t.ws, p, t.status);
         return t.status.lines;
       },
       {"Importing MegaTune Dump File", "tune.msq is not a file", "Loading Failed"}},
      {"base.msq",
       [](FileCommandsSafety& t, const std::string& p) {
         (void)exportVeMapToTune(t.ws, p, t.path("out.msq"), t.status);
         return t.status.lines;
       },
       {"Exporting VE Map", "base.msq is not a file", "Export Failed"}},
      {"kpafactor.inc",
       [](FileCommandsSafety& t, const std::string&) {
         formats::FactorTables tables;
         (void)formats::loadAllFactorTables(t.dir.string(), tables, t.status);
         return Lines{t.status.lines.front()};
       },
       {"Failed Loading kPaFactor.inc"}},
      {"Deutsch.Lang",
       [](FileCommandsSafety& t, const std::string&) {
         language::LanguageTable table;
         (void)table.readFile(t.dir.string(), "Deutsch", t.status);
         return t.status.lines;
       },
       {"Failed Reading Deutsch.Lang - Default is English"}},
  };
  for (const auto& reader : readers) {
    for (const bool fifo : {true, false}) {
      const std::string file = path(reader.name);
      fs::remove(file);
      if (fifo)
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
      else
        fs::create_symlink("/dev/zero", file);
      const std::string kind = reader.name + (fifo ? " (FIFO)" : " (/dev/zero)");
      const int code = testsupport::runWithin(1s, [&] {
        status.lines.clear();
        return reader.run(*this, file) == reader.expected ? 0 : 1;
      });
      ASSERT_NE(code, testsupport::kHung) << kind << " blocked";
      status.lines.clear();
      prompts.asked.clear();
      EXPECT_EQ(reader.run(*this, file), reader.expected) << kind;
      fs::remove(file);
    }
  }
}

TEST_F(FileCommandsSafety, EverySaveSaysWhyThenThatItFailedAndKeepsTheOldFile) {
  ws.rawDataMapPresent = ws.datalogPresent = true;
  ws.veTable.setStartupBins();
  const auto locked = [this](const std::string& name) {
    const auto file = write(name, "old");
    fs::permissions(file, fs::perms(0444));
    return file;
  };
  const struct {
    std::string name;
    std::function<CommandResult()> save;
    Lines expected;
  } cases[] = {
      {"map.HDMAP",
       [&] { return saveRawDataMap(ws, prompts, status, options); },
       {"Saving Raw Data Map", "map.HDMAP is read-only", "Save Failed"}},
      {"points.xls",
       [&] { return saveCrossoverPoints(ws, prompts, status, options); },
       {"Saving Crossover Point List", "points.xls is read-only", "Save Failed"}},
      {"table.vex",
       [&] { return saveLdMapCommand(ws, prompts, status, "/opt/tallimar"); },
       {"Exporting VE Map", "table.vex is read-only", "Export Failed"}},
  };
  for (const auto& c : cases) {
    const auto file = locked(c.name);
    prompts.saveAnswers.push_back(file);
    status.lines.clear();
    EXPECT_EQ(c.save().status, CommandStatus::Failed) << c.name;
    EXPECT_EQ(status.lines, c.expected);
    EXPECT_EQ(read(file), "old");
  }
}

TEST_F(FileCommandsSafety, ExtraBytesAfterTheLastRecordAreIgnoredAndSaid) {
  engine::RawDataMap map;
  map.at(150, 256) = {" 61,-3", 29, 29};
  const std::string bytes = *formats::encodeRawMapFile(map);
  for (const auto& [extra, line] : std::vector<std::pair<std::string, std::string>>{
           {"x", "Extra data after the last record ignored: 1 byte"},
           {std::string(70000, '\0'), "Extra data after the last record ignored: 70000 bytes"}}) {
    prompts.openAnswers.push_back({write("map.HDMAP", bytes + extra)});
    status.lines.clear();
    const CommandResult opened = openRawDataMap(ws, prompts, status, options);
    EXPECT_TRUE(opened.ok() && opened.changed);
    EXPECT_EQ(status.lines, (Lines{"Loading Raw Data Map", line, "Loading Finished"}));
    EXPECT_EQ(ws.rawMap.at(150, 256).values, " 61,-3");
    EXPECT_EQ(*formats::encodeRawMapFile(ws.rawMap), bytes);
  }
}

TEST_F(FileCommandsSafety, CalculateNamesTheBinsWhoseMeanDoesNotFitAndKeepsThem) {
  ws.veTable.setStartupBins();  // 8 x 8, RPM 500..4000, MAP 10..80
  ws.rawDataMapPresent = true;
  ws.veTable.filteredMapPresent = true;
  for (int c = 0; c < engine::kRawRpmCells; ++c)
    for (int m = 0; m < engine::kRawMapCells; ++m) ws.filteredMap.at(c, m) = 70.0f;
  ws.veTable.at(0, 0) = 11;
  ws.veTable.at(7, 7) = 22;
  ws.filteredMap.at(5, 10) = 4.0e5f;    // around RPM 500 / MAP 10
  ws.filteredMap.at(40, 80) = -4.0e5f;  // around RPM 4000 / MAP 80
  EXPECT_TRUE(calculateMapCommand(ws, status).ok());
  EXPECT_EQ(status.lines.back(),
            "2 bins kept the old VE (neighbourhood mean outside 16 bits): RPM 500/MAP 10, RPM "
            "4000/MAP 80");
  EXPECT_EQ(ws.veTable.at(0, 0), 11);
  EXPECT_EQ(ws.veTable.at(7, 7), 22);
  EXPECT_EQ(ws.veTable.at(1, 1), 70);

  for (int c = 0; c < engine::kRawRpmCells; ++c)
    for (int m = 0; m < engine::kRawMapCells; ++m) ws.filteredMap.at(c, m) = 40000.0f;
  status.lines.clear();
  EXPECT_TRUE(calculateMapCommand(ws, status).ok());
  EXPECT_EQ(status.lines.back(),
            "64 bins kept the old VE (neighbourhood mean outside 16 bits): RPM 500/MAP 10, RPM "
            "1000/MAP 10, RPM 1500/MAP 10, RPM 2000/MAP 10 and 60 more");
}

}  // namespace
}  // namespace tallimar::commands
