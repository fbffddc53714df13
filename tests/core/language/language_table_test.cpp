// The language table: reading translation files into 501 lines and looking captions up.
#include "language/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tallimar::language {
namespace {

namespace fs = std::filesystem;

std::string numberedLines(int count, const std::string& tag) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "frmMSMain,Label" + std::to_string(i) + ",:" + tag + std::to_string(i) + "\r\n";
  return text;
}

TEST(LanguageLookup, FirstMatchingEntryGivesTheTextAfterItsFirstColon) {
  LanguageTable table;
  ASSERT_TRUE(
      table.readText("frmMSMain,mnuExit,:Beenden\r\n"
                     "frmMSMain,mnuExit,:Nie benutzt\r\n"
                     "frmMSMain,mnuAbout:Index fehlt\r\n"
                     "frmMSMain,Label1,11:x\r\n"
                     "frmMSMain,Label1,0:Status:\r\n"
                     "frmMSMain,mnuLanguage,3:Vierte, mit Komma\r\n"
                     "  frmMSMain,mnuHelp,:Hilfe\r\n"
                     "frmmsmain,mnuSettings,:klein\r\n"));
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuExit", ""), "Beenden");
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuAbout", ""), "");  // index part missing
  EXPECT_EQ(table.lookupCaption("frmMSMain", "Label1", "1"), "");   // "11" is not "1"
  EXPECT_EQ(table.lookupCaption("frmMSMain", "Label1", "11"), "x");
  EXPECT_EQ(table.lookupCaption("frmMSMain", "Label1", "0"), "Status:");
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuLanguage", "3"), "Vierte, mit Komma");
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuHelp", ""), "Hilfe");  // key within the line
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuSettings", ""), "");   // case-sensitive
}

class LanguageFolder : public testsupport::TempDirTest {
 protected:
  LanguageTable table;
  common::VectorStatusLog log;
};

TEST_F(LanguageFolder, MoreThan501LinesStoresTheFirst501AndReportsFailure) {
  write("Long.Lang", numberedLines(600, "long"));
  EXPECT_FALSE(table.readFile(dir.string(), "Long", log));
  EXPECT_EQ(log.lines, std::vector<std::string>{"Failed Reading Long.Lang - Default is English"});
  EXPECT_EQ(table.lookupCaption("frmMSMain", "Label500", ""), "long500");
  EXPECT_EQ(table.lookupCaption("frmMSMain", "Label501", ""), "");

  write("Exact.lang", numberedLines(501, "exact"));
  log.lines.clear();
  EXPECT_TRUE(table.readFile(dir.string(), "Exact", log));
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(LanguageFolder, AMissingFileReportsAndKeepsTheEarlierLines) {
  write("Deutsch.LANG", "frmMSMain,mnuExit,:Beenden\r\n");
  ASSERT_TRUE(table.readFile(dir.string(), "Deutsch", log));  // extension in any case
  EXPECT_FALSE(table.readFile(dir.string(), "English", log));
  fs::create_directory(dir / "Folder.lang");
  EXPECT_FALSE(table.readFile(dir.string(), "Folder", log));
  EXPECT_FALSE(table.readFile(dir.string(), "../Deutsch", log));
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"Failed Reading English.Lang - Default is English",
                                      "Failed Reading Folder.Lang - Default is English",
                                      "Failed Reading ../Deutsch.Lang - Default is English"}));
  EXPECT_EQ(table.lookupCaption("frmMSMain", "mnuExit", ""), "Beenden");
}

TEST_F(LanguageFolder, MenuListsAtMostTenLangFilesAlphabetically) {
  for (const char* name : {"zulu.Lang", "Alpha.lang", "beta.LANG", "Deutsch.v2.Lang", "x.Lang.bak"})
    write(name, "");
  fs::create_directory(dir / "Dir.Lang");
  for (int i = 0; i < 12; ++i) write("L" + std::to_string(10 + i) + ".Lang", "");
  const auto ten = listLanguages(dir.string(), 10);
  ASSERT_EQ(ten.size(), 10u);
  EXPECT_EQ(ten[0].fileName, "Alpha.lang");
  EXPECT_EQ(ten[2].caption, "Deutsch");
  EXPECT_EQ(ten[2].language, "Deutsch.v2");
  EXPECT_EQ(ten.back().caption, "L16");
}

}  // namespace
}  // namespace tallimar::language
