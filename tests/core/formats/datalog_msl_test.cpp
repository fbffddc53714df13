// Named-column logs: header, columns, units row, gaps, the file's end, targets, real logs.
#include "formats/datalog_msl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar::formats {
namespace {

using engine::DatalogRecord;
using End = DatalogRead::End;

const std::string kTitle = "\"MSII Rev 2.92000   \"\n\"Capture Date: Sat Jul 05 2014\"\n";
const std::string kHeader =
    "Time\tSecL\tRPM\tMAP\tAFR\tEngine\tGego\tGammae\tGve\tAFRtrgt1\tTorque\n";
const std::string kUnits = "s\ts\tRPM\tkPa\tAFR\tbit\t%\t%\t%\tAFR\tlbft\n";
// Time, SecL, RPM, MAP, AFR, Engine, Gego, Gammae, Gve, AFRtrgt1, Torque
const std::string kRow = "12.5\t12\t2500\t55.9\t13.90\t1\t103\t100\t60\t14.1\tNaN\n";

struct Sink : DatalogRecordSink {
  std::size_t take(std::span<const DatalogRecord> batch, std::int64_t first) override {
    if (records.empty()) firstPosition = first;
    records.insert(records.end(), batch.begin(), batch.end());
    return batch.size();
  }
  std::vector<DatalogRecord> records;
  std::int64_t firstPosition = 0;
};

class MslLogs : public testsupport::TempDirTest {
 protected:
  DatalogRead read(const std::string& text) {
    const std::string file = write("log.msl", text);
    const auto probe = probeDatalog(file);
    EXPECT_TRUE(probe && probe->layout == DatalogLayout::Msl) << text;
    sink = Sink{};
    DatalogReadOptions options;
    options.o2TransferVolts = 0.45f;
    options.wideBandTargetAfr = 14.5f;
    auto result = readDatalog(file, DatalogLayout::Msl, sink, options);
    EXPECT_TRUE(result.ok()) << result.reason();
    return result.ok() ? *result : DatalogRead{};
  }
  Sink sink;
};

TEST_F(MslLogs, EachVariantReadsItsSamplesGapsAndEnd) {
  const std::string mark = "MARK 002 - Going Online - Sat Jul 05\n";
  std::string crlf;
  for (char c : kTitle + kHeader + kRow)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const struct {
    const char* name;
    std::string text;
    std::int64_t firstLine, samples, gaps;
    std::size_t records, warnings;
  } cases[] = {
      {"titles and units", kTitle + kHeader + kUnits + kRow + kRow, 5, 2, 0, 2, 0},
      {"CR LF line ends, no units row", crlf, 4, 1, 0, 1, 0},
      {"MARK lines are gaps", kHeader + kRow + mark + kRow + "\n" + kRow + mark, 2, 3, 3, 6, 0},
      {"NaN in a used column is a gap",
       kHeader + kRow + "1\t1\tNaN\t50\t14\t1\t100\t100\t60\t14\t1\n", 2, 1, 1, 2, 0},
      {"NUL tail", kHeader + kRow + kRow + std::string(300, '\0') + "\nMARK 001\n", 2, 2, 0, 2, 1},
      {"cut-short last line", kHeader + kRow + "13.0\t13\t2600\t5", 2, 1, 0, 1, 1},
  };
  for (const auto& c : cases) {
    const DatalogRead r = read(c.text);
    EXPECT_EQ(std::tuple(r.end, r.firstRecordLine, r.entries, r.gapLines, r.warnings.size(),
                         sink.records.size(), sink.firstPosition),
              std::tuple(End::Complete, c.firstLine, c.samples, c.gaps, c.warnings, c.records,
                         std::int64_t{1}))
        << c.name;
  }
  // Gaps stand in the record stream as Status 0, in their place.
  read(kHeader + kRow + mark + kRow);
  EXPECT_EQ(sink.records.at(1).status, 0);
  EXPECT_EQ(read(kHeader + kRow + std::string(10, '\0')).warnings.at(0),
            "ends in NUL bytes from line 3 on, which were not read");
}

TEST_F(MslLogs, ColumnsAreFoundByNameAndFillTheRecord) {
  read(kTitle + kHeader + kUnits + kRow);
  ASSERT_EQ(sink.records.size(), 1u);
  // Seconds, RPM, MAP (whole kPa, rounded down), O2, the row's own target, Status, Gego,
  // Gair, Gwarm, Gbaro, Gve, GammaE.
  const DatalogRecord expected{12, 2500, 55, 13.9f, 14.1f, 1, 103, 0, 0, 0, 60, 100};
  EXPECT_EQ(sink.records[0], expected);

  // Other names, any letter case; the first name of a field's list that is present wins.
  const struct {
    std::string header, row;
    float o2, target;
    std::int16_t gego, gammaE, status;
  } cases[] = {
      // Wide-band AFR without a target column: the WBTargetAFR setting; no Engine column:
      // running whenever RPM > 0; Gego and GammaE 100 when absent.
      {"TIME\trpm\tmap\tafr\tve1\n", "1\t900\t40\t15.2\t50\n", 15.2f, 14.5f, 100, 100, 1},
      {"Time\tRPM\tMAP\tAFR\tVE\n", "1\t0\t40\t15.2\t50\n", 15.2f, 14.5f, 100, 100, 0},
      // Lambda crosses 1.0; an AFR target column is in AFR and not used for it.
      {"Time\tRPM\tMAP\tLambda\tVE\tAFR Target 1\tEGO Correction\n",
       "1\t900\t40\t0.98\t50\t14.7\t97\n", 0.98f, 1.0f, 97, 100, 1},
      // Narrow-band volts cross the transfer voltage.
      {"Time\tRPM\tMAP\tEGO V\tGve\tEngine\tFuel: Total cor\n", "1\t900\t40\t0.61\t50\t9\t120\n",
       0.61f, 0.45f, 100, 120, 0},
      {"Time\tRPM\tMAP\tO2\tAFR1\tVE\tVE1\tEGO cor1\tGego\n",
       "1\t900\t40\t0.5\t13\t50\t51\t98\t99\n", 13.0f, 14.5f, 99, 100, 1},
  };
  for (const auto& c : cases) {
    read(c.header + c.row);
    ASSERT_EQ(sink.records.size(), 1u) << c.header;
    const DatalogRecord& r = sink.records[0];
    EXPECT_EQ(std::tuple(r.o2, r.o2Target, r.gego, r.gammaE, r.status),
              std::tuple(c.o2, c.target, c.gego, c.gammaE, c.status))
        << c.header;
  }
}

TEST_F(MslLogs, ALogWithoutANeededColumnIsRefusedNamingIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"Time\tRPM\tMAP\tAFR\tEngine\n", "has no VE column (Gve, VE1 or VE)"},
      {"Time\tRPM\tMAP\tGve\tEngine\n", "has no O2 column (AFR, AFR1, Lambda, O2 or EGO V)"},
  };
  for (const auto& [header, reason] : cases) {
    const DatalogRead result = read(kTitle + header + "1\t2\t3\t4\t5\n");
    EXPECT_EQ(result.end, End::MissingColumn);
    EXPECT_EQ(result.problem, reason);
    EXPECT_TRUE(sink.records.empty());
  }
}

TEST(MslEngineStatus, OnlyARunningEngineWithoutEnrichmentIsTested) {
  // Running bit 0x01; cranking 0x02, after-start 0x04, warm-up 0x08, TPS and MAP acceleration
  // 0x10 and 0x40 keep a sample out; deceleration bits do not.
  const std::pair<std::int32_t, std::int16_t> cases[] = {
      {0, 0}, {1, 1}, {3, 0}, {5, 0}, {9, 0}, {0x11, 0}, {0x41, 0}, {0x21, 1}, {0x81, 1}};
  for (const auto& [engine, status] : cases) EXPECT_EQ(engineStatus(engine), status) << engine;
}

namespace fs = std::filesystem;

// Real datalogs through Open Datalog: read without harm, or refused naming the file.
TEST(RealDatalogs, EveryFileIsReadWithoutHarm) {
  const fs::path folder = fs::path(TALLIMAR_REAL_DATA_DIR) / "datalogs";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no real datalogs at " << folder;
  int logs = 0, withPoints = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    workspace::Workspace ws;
    common::ScriptedPrompts prompts;
    prompts.openAnswers.push_back({entry.path().string()});
    common::VectorStatusLog status;
    engine::VectorCrossoverList list;
    const auto result = commands::openDatalog(ws, prompts, status, list);
    std::string lines;  // each status line after a line feed
    for (const auto& line : status.lines) lines += "\n" + line;
    auto hasLineStarting = [&](const std::string& start) {
      return lines.find("\n" + start) != std::string::npos;
    };
    EXPECT_EQ(result.status, commands::CommandStatus::Done) << name;
    if (entry.path().extension() == ".xls") {
      // A calibration table and a binary spreadsheet: refused, naming the file.
      EXPECT_EQ(result.inputsRefused, 1) << name;
      EXPECT_TRUE(ws.crossovers.empty());
      EXPECT_TRUE(hasLineStarting("DataLog Not Read: line 1 of " + name) ||
                  hasLineStarting("line 1 of " + name + " does not start with a \"Seconds\""))
          << name;
      continue;
    }
    ++logs;
    if (name == "2023-01-26_19.39.31_LOG0000.msl") {
      EXPECT_TRUE(hasLineStarting("DataLog Read Error: " + name + " has no VE column"));
      continue;
    }
    EXPECT_EQ(result.inputsRefused, 0) << name;
    EXPECT_TRUE(hasLineStarting("Samples Read: ")) << name;
    if (!ws.crossovers.empty()) ++withPoints;
  }
  EXPECT_EQ(logs, 10);
  EXPECT_GE(withPoints, 4);
}

}  // namespace
}  // namespace tallimar::formats
