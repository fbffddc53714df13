// Line splitting for files with any line end, and whole-file writes that never leave half files.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "support/temp_dir.h"

namespace tallimar::common {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EveryLineEndStyle) {
  EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLines("\n\n"), (Lines{"", ""}));
}

using TempDir = testsupport::TempDirTest;

TEST_F(TempDir, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  ASSERT_TRUE(writeFileAtomically(path("out.bin"), "old"));
  ASSERT_TRUE(writeFileAtomically(path("out.bin"), std::string("new\0data", 8)));
  EXPECT_EQ(read(path("out.bin")), std::string("new\0data", 8));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  const Outcome failed = writeFileAtomically(path("no/out.bin"), "x");
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.reason(), "out.bin cannot be written: No such file or directory");
}

TEST_F(TempDir, ReadWholeFileRefusesMissingAndOversizedFiles) {
  EXPECT_FALSE(readWholeFile(path("missing"), 100));
  const auto big = write("big", std::string(101, 'x'));
  EXPECT_FALSE(readWholeFile(big, 100));
  EXPECT_EQ(readWholeFile(big, 101).value(), std::string(101, 'x'));
}

}  // namespace
}  // namespace tallimar::common
