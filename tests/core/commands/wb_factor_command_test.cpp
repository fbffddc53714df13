// "Create Table" of the wide-band factor creator: the file, its refusals and its messages.
#include "commands/wb_factor_command.h"

#include <gtest/gtest.h>

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
  const std::string& said() const { return prompts.asked.back().text; }

  common::ScriptedPrompts prompts;
};

// The table the loader finds as DIYWBFactor.inc; where the tables are loaded from is said
// only when that is another folder (not the same one written with a trailing "/" or "/.").
TEST_F(CreateWbTable, WritesTheTableTheLoaderFindsAndSaysWhereTablesLoadFrom) {
  ASSERT_TRUE(create(initial(), dir.string()).ok());
  formats::FactorTable table{};
  ASSERT_TRUE(formats::loadFactorTable(dir.string(), "DIYWBFactor.inc", table).ok());
  EXPECT_EQ(table[71], 101);
  EXPECT_EQ(prompts.asked.at(0).icon, common::MessageIcon::Information);
  EXPECT_NE(said().find(path("diywbfactor.inc")), std::string::npos);
  EXPECT_EQ(said().find("INCPath"), std::string::npos);
  for (const std::string& same : {dir.string() + "/", dir.string() + "/."}) {
    ASSERT_TRUE(create(initial(), same).ok());
    EXPECT_EQ(said().find("INCPath"), std::string::npos) << same;
  }
  EXPECT_TRUE(sameFolder("/no/such/folder/", "/no/such/folder"));
  EXPECT_FALSE(sameFolder("/no/such/folder", "/no/such"));

  ASSERT_TRUE(create(initial(), "/opt/megasquirt/inc").ok());
  EXPECT_NE(said().find("\"INCPath\" folder /opt/megasquirt/inc"), std::string::npos);
  ASSERT_TRUE(create(initial(), "").ok());
  EXPECT_NE(said().find("none is set"), std::string::npos);
}

// Six rows are enough, five are not; rows in one voltage step or a folder that cannot be
// written are refused with the reason, and the old file stays.
TEST_F(CreateWbTable, RefusalsSayWhyAndKeepTheOldFile) {
  const struct {
    std::size_t row;  // the row whose voltage is set
    const char* volts;
    CommandStatus status;
    std::string text;  // a part of the message
  } cases[] = {{5, "", CommandStatus::Refused, "Not Enough Data Points"},
               {4, "1.555", CommandStatus::Refused, "#4 and #5"},
               {6, "", CommandStatus::Done, "was written"}};
  for (const auto& c : cases) {
    write("diywbfactor.inc", "older table");
    auto rows = initial();
    rows[c.row].volts = c.volts;
    EXPECT_EQ(create(rows).status, c.status);
    EXPECT_NE(said().find(c.text), std::string::npos) << said();
    EXPECT_EQ(read(path("diywbfactor.inc")) == "older table", c.status != CommandStatus::Done);
  }
  EXPECT_EQ(createWbFactorTable(initial(), path("no such folder"), "", prompts).status,
            CommandStatus::Failed);
  EXPECT_EQ(prompts.asked.back().icon, common::MessageIcon::Stop);
  EXPECT_NE(said().find(path("no such folder/diywbfactor.inc")), std::string::npos);
}

}  // namespace
}  // namespace tallimar::commands
