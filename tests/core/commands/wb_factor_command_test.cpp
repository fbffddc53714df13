// "Create Table" of the wide-band factor creator: the file it writes, what it refuses, and
// what it tells the user.
#include "commands/wb_factor_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/scripted_prompts.h"
#include "formats/factor_table_loader.h"
#include "support/temp_dir.h"

namespace tallimar::commands {
namespace {

class CreateWbTable : public testsupport::TempDirTest {
 protected:
  std::vector<tools::WbRow> initial() const {
    const auto rows = tools::initialWbRows();
    return {rows.begin(), rows.end()};
  }
  CommandResult create(const std::vector<tools::WbRow>& rows, const std::string& incPath = "") {
    return createWbFactorTable(rows, dir.string(), incPath, prompts);
  }
  std::string written() const { return read(path("diywbfactor.inc")); }
  const common::ScriptedPrompts::Question& lastMessage() const { return prompts.asked.back(); }

  common::ScriptedPrompts prompts;
};

TEST_F(CreateWbTable, WritesTheTableTheLoaderFindsAsDIYWBFactor) {
  ASSERT_TRUE(create(initial(), dir.string()).ok());
  formats::FactorTable table{};
  const auto loaded = formats::loadFactorTable(dir.string(), "DIYWBFactor.inc", table);
  ASSERT_TRUE(loaded.ok());
  EXPECT_EQ(table[71], 101);

  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(lastMessage().icon, common::MessageIcon::Information);
  EXPECT_NE(lastMessage().text.find(path("diywbfactor.inc")), std::string::npos);
  EXPECT_EQ(lastMessage().text.find("INCPath"), std::string::npos);  // already loaded from here
}

TEST_F(CreateWbTable, SaysWhereTablesAreLoadedFromWhenThatIsAnotherFolder) {
  ASSERT_TRUE(create(initial(), "/opt/megasquirt/inc").ok());
  EXPECT_NE(lastMessage().text.find("\"INCPath\" folder /opt/megasquirt/inc"), std::string::npos);
  ASSERT_TRUE(create(initial(), "").ok());
  EXPECT_NE(lastMessage().text.find("none is set"), std::string::npos);
}

TEST_F(CreateWbTable, SixRowsAreEnoughFiveAreNot) {
  auto rows = initial();
  rows[5].volts.clear();
  EXPECT_EQ(create(rows).status, CommandStatus::Refused);
  EXPECT_EQ(lastMessage().text, "Not Enough Data Points");
  EXPECT_FALSE(std::filesystem::exists(path("diywbfactor.inc")));

  rows = initial();
  rows[6].volts.clear();
  EXPECT_TRUE(create(rows).ok());
  EXPECT_TRUE(std::filesystem::exists(path("diywbfactor.inc")));
}

TEST_F(CreateWbTable, RowsInOneVoltageStepAreRefusedAndTheOldFileKept) {
  write("diywbfactor.inc", "older table");
  auto rows = initial();
  rows[4].volts = "1.555";  // row #5 in the step of row #4 (1.55 V)
  EXPECT_EQ(create(rows).status, CommandStatus::Refused);
  EXPECT_EQ(lastMessage().icon, common::MessageIcon::Stop);
  EXPECT_NE(lastMessage().text.find("#4 and #5"), std::string::npos) << lastMessage().text;
  EXPECT_EQ(written(), "older table");
}

TEST_F(CreateWbTable, AFolderThatCannotBeWrittenIsReportedAndKeepsTheOldFile) {
  const CommandResult missing = createWbFactorTable(initial(), path("no such folder"), "", prompts);
  EXPECT_EQ(missing.status, CommandStatus::Failed);
  EXPECT_EQ(lastMessage().icon, common::MessageIcon::Stop);
  EXPECT_NE(lastMessage().text.find(path("no such folder/diywbfactor.inc")), std::string::npos);
  if (::geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop root";
  write("diywbfactor.inc", "older table");
  std::filesystem::permissions(
      dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const CommandResult readOnly = create(initial());
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  EXPECT_EQ(readOnly.status, CommandStatus::Failed);
  EXPECT_EQ(written(), "older table");
}

TEST(SameFolder, ComparesFoldersNotTexts) {
  const std::string temp = std::filesystem::temp_directory_path().string();
  EXPECT_TRUE(sameFolder(temp, temp + "/"));
  EXPECT_TRUE(sameFolder(temp, temp + "/."));
  EXPECT_TRUE(sameFolder("/no/such/folder", "/no/such/folder/"));
  EXPECT_FALSE(sameFolder(temp, "/no/such/folder"));
  EXPECT_FALSE(sameFolder(temp, ""));
}

}  // namespace
}  // namespace tallimar::commands
