// XML tune VE tables: read, refused, and written changing only the table's three constants.
#include "formats/xml_tune.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/text_lines.h"

namespace tallimar::formats {
namespace {

namespace fs = std::filesystem;

// A constant laid out as the tuning software writes one: rows ("|" between them) after nine
// blanks, every number followed by a blank, the closing tag indented by six.
std::string constant(const std::string& name, const std::string& rows,
                     const std::string& digits = "0", const std::string& eol = "\r\n") {
  std::string text;
  int rowCount = 0;
  for (std::size_t at = 0; at <= rows.size(); ++rowCount) {
    const auto end = std::min(rows.find('|', at), rows.size());
    text += "         " + rows.substr(at, end - at) + " " + eol;
    at = end + 1;
  }
  const auto cols = std::count(rows.begin(), rows.begin() + (rows + "|").find('|'), ' ') + 1;
  return "<constant cols=\"" + std::to_string(cols) + "\" digits=\"" + digits + "\" name=\"" +
         name + "\" rows=\"" + std::to_string(rowCount) + "\">" + eol + text + "      </constant>" +
         eol;
}

// A whole tune around the constants, with a Latin-1 byte and a decoy table in a comment.
std::string tune(const std::string& constants, const std::string& eol = "\r\n") {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + eol + "<msq xmlns=\"x\">" + eol +
         "<bibliography author=\"\xE9t\xE9\"/>" + eol +
         "<!-- <constant name='veTable1' rows='1' cols='1'>1</constant> -->" + eol +
         "<page number=\"0\">" + eol + constants + "</page>" + eol + "</msq>" + eol;
}

const std::string kAxes2x2 = constant("frpm_table1", "800|1500") + constant("fmap_table1", "30|95");

// The text with that of the named constants cut out: what a writer may not change.
std::string outsideConstants(std::string text, const std::vector<std::string>& names) {
  for (const auto& name : names) {
    const auto begin = text.find('>', text.find("name=\"" + name + "\"")) + 1;
    text.erase(begin, text.find("</constant>", begin) - begin);
  }
  return text;
}

vemap::VeTable tableOf(const std::string& bytes) {
  vemap::VeTable table;
  const auto read = readTuneVeTable(bytes);
  EXPECT_TRUE(read) << read.reason();
  if (read) read->copyInto(table);
  return table;
}

TEST(XmlTuneReader, RefusesWhatHoldsNoUsableTable) {
  const auto ve2x2 = [](const std::string& last) {
    return tune(constant("veTable1", "1 2|3 " + last) + kAxes2x2);
  };
  std::string deep = "<msq>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  const struct {
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"", "no VE table found (the file is empty)"},
      {tune(kAxes2x2), "no VE table found (no veTable1 or veBins1 constant with rows and cols)"},
      {deep, "not a readable XML tune ("},
      {tune("<constant name=\"veTable1\" rows=\"17\" cols=\"2\">1</constant>" + kAxes2x2),
       "veTable1 is 2 x 17 (RPM x MAP); a VE table has 1 to 16 bins on each axis"},
      {tune(constant("veTable1", "1 2|3") + kAxes2x2),
       "veTable1 holds 3 numbers, not rows x cols = 2 x 2"},
      {ve2x2("32767.5"), "veTable1: 32767.5 does not fit a 16-bit table entry"},
      {ve2x2("4x"), "veTable1 holds \"4x\", which is not a number"},
      {tune("<constant name=\"veTable1\" rows=\"1\" cols=\"2\">1<!-- 9 --> 2</constant>" +
            kAxes2x2),
       "veTable1 does not hold a plain list of numbers"},
      {"<?xml version=\"1.0\"?>\n<tune><constant name=\"veTable1\"/></tune>\n",
       "no VE table found (not an XML tune file)"},
      {tune(constant("veTable1", "1 2|3 4") + constant("frpm_table", "800")),
       "no RPM axis of 2 bins (frpm_table1, frpm_table or rpmBins1); frpm_table has 1"},
  };
  for (const auto& c : cases) {
    const auto read = readTuneVeTable(c.bytes);
    ASSERT_FALSE(read) << c.reason;
    EXPECT_EQ(read.reason().substr(0, c.reason.size()), c.reason);
  }
}

// Rows are MAP bins, halves go to even (after a BOM); writes keep places and decimals.
TEST(XmlTune, ReadsRowsAsMapBinsAndWritesOnlyInsideTheThreeConstants) {
  const std::string base =
      "\xEF\xBB\xBF" + tune(constant("veTable1", "40 41|50 51") +
                            constant("frpm_table1", "800.0|1500.5", "0", "\n") +
                            constant("fmap_table1", "30|99.5", "2"));
  auto table = tableOf(base);
  EXPECT_EQ(std::vector<int>({table.ve[1][0], table.ve[0][1], table.rpmBins[1], table.mapBins[1]}),
            std::vector<int>({41, 50, 1500, 100}));
  table.ve[1][1] = 120;
  table.ve[0][0] = -5;
  table.rpmBins[1] = 1625;
  table.mapBins[0] = 25;
  const auto written = writeTuneVeTable(base, table);
  ASSERT_TRUE(written) << written.reason();
  const std::string& out = written->bytes;
  EXPECT_NE(out.find("\r\n         -5 41 \r\n         50 120 \r\n      </constant>"),
            std::string::npos);
  EXPECT_NE(out.find("\n         1625.0 \n"), std::string::npos);  // as many decimals as before
  EXPECT_NE(out.find("         25.00 \r\n         100.00 \r\n"), std::string::npos);  // digits
  EXPECT_EQ(outsideConstants(out, {"veTable1", "frpm_table1", "fmap_table1"}),
            outsideConstants(base, {"veTable1", "frpm_table1", "fmap_table1"}));
  EXPECT_EQ(tableOf(out).ve, table.ve);

  table.sizeRpm = 8;
  const auto mismatch = writeTuneVeTable(base, table);
  ASSERT_FALSE(mismatch);
  EXPECT_EQ(mismatch.reason(),
            "the VE table is 8 x 2 (RPM x MAP) but veTable1 of the tune is 2 x 2");
  EXPECT_FALSE(writeTuneVeTable(std::string("#MegaTune\0", 10), table));
}

// Real tunes: XML ones write back byte for byte; the others give the no-table reason.
TEST(RealTunes, EveryXmlTuneReadsAndRoundTrips) {
  const fs::path folder = fs::path(TALLIMAR_REAL_DATA_DIR) / "msq";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "real sample files not present";
  int xmlTunes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const auto bytes = common::readWholeFile(entry.path().string(), kMaxTuneFileBytes);
    ASSERT_TRUE(bytes.ok()) << bytes.reason();
    const std::string& base = bytes.value();
    const std::string name = entry.path().filename().string();
    const auto read = readTuneVeTable(base);
    if (!base.starts_with("<?xml")) {
      ASSERT_FALSE(read) << name;
      EXPECT_EQ(read.reason().rfind("no VE table found", 0), 0u) << name << read.reason();
      continue;
    }
    ++xmlTunes;
    ASSERT_TRUE(read) << name << ": " << read.reason();
    vemap::VeTable table;
    read->copyInto(table);
    const auto same = writeTuneVeTable(base, table);
    ASSERT_TRUE(same) << name;
    EXPECT_EQ(same->bytes, base) << name;  // the unchanged table writes back byte for byte
  }
  EXPECT_EQ(xmlTunes, 3);
}

}  // namespace
}  // namespace tallimar::formats
