// tallimar-batch end to end, against the same core commands run in this process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "commands/open_datalog.h"
#include "commands/raw_map_commands.h"
#include "commands/ve_map_commands.h"
#include "commands/ve_map_file_commands.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "formats/raw_map_file.h"
#include "support/datalog_generator.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "workspace/workspace.h"

namespace tallimar {
namespace {

using Lines = std::vector<std::string>;

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

class TallimarBatch : public testsupport::TempDirTest {
 protected:
  struct Run {
    int exitCode = -1;
    Lines out;
    Lines err;
  };
  // Runs the program with a private configuration folder, so the user's store is never used.
  Run run(const Lines& arguments) {
    std::string command = "XDG_CONFIG_HOME=" + quoted(path("config")) +
                          " HOME=" + quoted(path("home")) + " " + quoted(TALLIMAR_BATCH_PROGRAM);
    for (const auto& argument : arguments) command += " " + quoted(argument);
    command += " >" + quoted(path("out.txt")) + " 2>" + quoted(path("err.txt"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, common::splitLines(read(path("out.txt"))),
            common::splitLines(read(path("err.txt")))};
  }
  std::string datalog(const std::string& name, std::int64_t samples, std::uint32_t seed) {
    return testsupport::writeDatalog(path(name), samples, seed);
  }
};

// The same datalogs read by the core command in this process.
struct InProcess {
  workspace::Workspace ws;
  common::VectorStatusLog status;
  engine::VectorCrossoverList list;
  void open(const Lines& files) {
    common::ScriptedPrompts prompts;
    prompts.answers.push_back(common::Answer::Yes);
    prompts.openAnswers.push_back(files);
    (void)commands::openDatalog(ws, prompts, status, list);
  }
};

TEST_F(TallimarBatch, ReadsDatalogsAndMapsAndSavesLikeTheCommands) {
  const auto a = datalog("a.xls", 20000, 1);
  const auto b = datalog("b.xls", 5000, 2);
  const auto map = path("map.HDMAP"), points = path("points.xls");
  const Run result =
      run({"--no-user-settings", a, b, "--save-hdmap", map, "--save-crossovers", points, "--list"});
  ASSERT_EQ(result.exitCode, 0) << (result.err.empty() ? "" : result.err.back());
  InProcess expected;
  expected.open({a, b});
  Lines expectedErr = expected.status.lines;
  expectedErr.insert(expectedErr.end(), {"Saving Raw Data Map", "Finished Saving",
                                         "Saving Crossover Point List", "Finished Saving"});
  EXPECT_EQ(result.err, expectedErr);
  EXPECT_EQ(result.out, expected.list.lines);
  EXPECT_EQ(read(map), *formats::encodeRawMapFile(expected.ws.rawMap));
  EXPECT_EQ(common::splitLines(read(points)).size(), 108 + expected.ws.crossovers.size());

  // A saved map opened again takes the datalogs after it as an append.
  const auto appended = path("appended.HDMAP");
  const Run again = run({"--no-user-settings", "--open-hdmap", map, a, "--save-hdmap", appended});
  ASSERT_EQ(again.exitCode, 0);
  EXPECT_TRUE(again.out.empty());  // without --list nothing goes to standard output
  EXPECT_EQ(Lines(again.err.begin(), again.err.begin() + 2),
            (Lines{"Loading Raw Data Map", "Loading Finished"}));
  expected.open({a});  // the append answer is Yes
  EXPECT_EQ(read(appended), *formats::encodeRawMapFile(expected.ws.rawMap));
}

// datalogs -> filter -> calculate -> export -> plot.
TEST_F(TallimarBatch, RunsTheVeTableStepsAfterTheDatalogs) {
  const auto a = datalog("a.xls", 40000, 7);
  const auto vex = path("table.vex");
  const Run result =
      run({"--no-user-settings", "--set=BSplineFilter=2", a, "--filter", "--calculate",
           "--export-ve", vex, "--plot", "filtered-raw", path("fr.png")});
#if TALLIMAR_BATCH_USER_STORE
  ASSERT_EQ(result.exitCode, 0) << (result.err.empty() ? "" : result.err.back());
  EXPECT_EQ(read(path("fr.png")).substr(1, 3), "PNG");
#else
  ASSERT_EQ(result.exitCode, 1);  // no pictures without Qt, but everything before them ran
  EXPECT_NE(result.err.back().find("need the build with Qt"), std::string::npos);
#endif
  InProcess expected;
  expected.ws.settings.bSplineFilter = 2;
  expected.ws.veTable.setStartupBins();
  expected.open({a});
  common::VectorStatusLog steps;
  ASSERT_TRUE(commands::filterRawDatalogCommand(expected.ws, steps).ok());
  ASSERT_TRUE(commands::calculateMapCommand(expected.ws, steps).ok());
  const auto expectedVex = path("expected.vex");
  ASSERT_TRUE(commands::exportVeMapFile(expected.ws, expectedVex, steps).ok());
  EXPECT_EQ(read(vex), read(expectedVex));
}

TEST_F(TallimarBatch, TakesTheTableFromATuneAndWritesItIntoAnother) {
  const std::string text =
      "<?xml version=\"1.0\"?>\n<msq>\n<constant cols=\"2\" name=\"veBins1\" rows=\"1\">61 62"
      "</constant>\n<constant name=\"rpmBins1\" rows=\"2\">900 2000</constant>\n"
      "<constant name=\"mapBins1\">95</constant>\n</msq>\n";
  const auto tune = write("tune.msq", text);
  EXPECT_EQ(run({"--no-user-settings", "--import-ve", tune, "--export-msq", tune, path("out.msq")})
                .exitCode,
            0);
  EXPECT_EQ(read(path("out.msq")), text);
}

TEST_F(TallimarBatch, RefusalsExitWithOneAndSaveNothingUsageErrorsWithTwo) {
  // A command's refusal (pinned in core) stops the run before anything is saved.
  const auto good = datalog("good.xls", 2000, 5);
  const auto table = write("aem.xls", "Voltage\tAFR\n0.00\t9.72\n");
  const auto map = path("map.HDMAP");
  const std::string usage = "tallimar-batch: ";
  const struct {
    Lines arguments;
    int exitCode;
    std::string errLine;  // a line of standard error
  } cases[] = {
      {{"--no-user-settings", good, table, "--save-hdmap", map},
       1,
       "Message: Invalid Datalog File; Missing Header"},
      {{"--no-user-settings", "--filter"}, 1, "No raw data map loaded"},
      {{}, 2, usage + "nothing to do: give a datalog, --open-hdmap, a VE step or a file to write"},
      {{"--set", "o2transfer=0.4", "a.xls"},
       2,
       usage + "--set: no setting is called \"o2transfer\" (keys are case-sensitive)"},
      {{"--save-hdmap"}, 2, usage + "--save-hdmap needs a value"},
      {{"--port", "/dev/null", "--ecu-send", "--ecu-burn"},
       2,
       usage + "give --ecu-send or --ecu-burn, not both"},
      {{"--lst", "a.xls"}, 2, usage + "unknown option --lst"},
      {{"--export-ve=a.vex", "--export-ve", "b.vex"}, 2, usage + "--export-ve given twice"},
      {{"--plot", "delta", "a.png"},
       2,
       usage + "--plot: no view is called \"delta\" "
               "(low, raw, filtered, raw-low, filtered-low, filtered-raw)"},
      {{"--ecu-read"}, 2, usage + "--ecu-read, --ecu-send and --ecu-burn need --port DEVICE"},
      {{"--port", "/dev/null", "a.xls"}, 2, usage + "--port needs --ecu-read, --ecu-send or --ecu-burn"},
  };
  for (const auto& c : cases) {
    const Run result = run(c.arguments);
    const std::string name = c.arguments.empty() ? "(none)" : c.arguments.back();
    EXPECT_EQ(result.exitCode, c.exitCode) << name;
    EXPECT_NE(std::find(result.err.begin(), result.err.end(), c.errLine), result.err.end())
        << name << ": " << (result.err.empty() ? "" : result.err.back());
    EXPECT_FALSE(std::filesystem::exists(map)) << name;
  }
  EXPECT_EQ(run({"--help"}).exitCode, 0);
  // "--" lets a datalog be named like an option.
  write("--list", "Seconds\tRPM\r\n");
  EXPECT_EQ(run({"--no-user-settings", "--", path("--list")}).exitCode, 0);
}

TEST_F(TallimarBatch, ReadsTheUsersStoreButNeverWritesIt) {
  if (!TALLIMAR_BATCH_USER_STORE) {
    EXPECT_EQ(run({datalog("a.xls", 100, 6)}).exitCode, 2);
    GTEST_SKIP() << "built without Qt: no per-user store";
  }
  const auto a = datalog("a.xls", 20000, 6);
  const auto ini = path("config") + "/Tallimar/MegaSquirt.ini";
  std::filesystem::create_directories(path("config") + "/Tallimar");
  std::ofstream(ini) << "[Settings]\nO2Transfer=0.55\nRPMMin=2000\n";
  const std::string before = read(ini);
  const auto points = path("points.xls");
  ASSERT_EQ(run({a, "--save-crossovers", points}).exitCode, 0);
  EXPECT_NE(common::splitLines(read(points))[106].find(" at 0.550 Volts"), std::string::npos);
  EXPECT_EQ(read(ini), before);
}

// The ECU steps against tallimar-ecu-sim through a link to its pseudo-terminal; DataRate 200
// gives replies a second, as the tests share the machine with builds.
constexpr const char* kSlowEcu = "--set=DataRate=200";

class TallimarBatchEcu : public TallimarBatch {
 protected:
  void TearDown() override {
    sim.reset();  // the simulator removes its link as it stops; the folder goes after that
    TallimarBatch::TearDown();
  }
  // Starts the simulator; the device to open is path("tty"), its flash page path("flash").
  bool startSim() {
    return !sim.emplace(
                   Lines{"--line-speed", "0", "--link", path("tty"), "--save-flash", path("flash")})
                .device.empty();
  }
  std::optional<testsupport::SimProcess> sim;
};

TEST_F(TallimarBatchEcu, ReadsAndBurns) {
#if TALLIMAR_BATCH_USER_STORE
  ASSERT_TRUE(startSim());
  const std::string vex = path("ecu.vex");
  Run result = run(
      {"--no-user-settings", kSlowEcu, "--port", path("tty"), "--ecu-read", "--export-ve", vex});
  ASSERT_EQ(result.exitCode, 0) << (result.err.empty() ? "" : result.err.back());
  EXPECT_FALSE(read(vex).empty());
  // A table of the program's start-up bins goes out, verified and burnt.
  result = run({"--no-user-settings", kSlowEcu, "--clear-ve", "--port", path("tty"), "--ecu-burn"});
  ASSERT_EQ(result.exitCode, 0) << (result.err.empty() ? "" : result.err.back());
  const std::string flash = read(path("flash"));
  ASSERT_EQ(flash.size(), 125u);
  EXPECT_EQ(flash.substr(0, 64) + flash[100], std::string(64, '\0') + '\5');  // 500 rev/min
#else
  ASSERT_TRUE(startSim());
  const Run result = run({"--no-user-settings", "--port", path("tty"), "--ecu-read"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.back().find("need the build with Qt"), std::string::npos);
#endif
}

}  // namespace
}  // namespace tallimar
