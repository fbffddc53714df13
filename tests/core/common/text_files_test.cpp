// Line splitting for files with any line end, and whole-file writes that never leave half files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/atomic_file.h"
#include "common/text_lines.h"

namespace tallimar::common {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EveryLineEndStyle) {
  EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(splitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(splitLines(""), Lines{});
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("tallimar-common-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

TEST_F(TempDir, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
  const auto path = (dir / "out.bin").string();
  ASSERT_TRUE(writeFileAtomically(path, "old"));
  ASSERT_TRUE(writeFileAtomically(path, std::string("new\0data", 8)));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(path, bytes, 100));
  EXPECT_EQ(bytes, std::string("new\0data", 8));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(TempDir, AtomicWriteIntoMissingFolderFailsAndSaysWhy) {
  std::string error;
  EXPECT_FALSE(writeFileAtomically((dir / "no" / "out.bin").string(), "x", &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(TempDir, ReadWholeFileRefusesMissingAndOversizedFiles) {
  std::string bytes;
  EXPECT_FALSE(readWholeFile((dir / "missing").string(), bytes, 100));
  const auto path = (dir / "big").string();
  std::ofstream(path) << std::string(101, 'x');
  EXPECT_FALSE(readWholeFile(path, bytes, 100));
  EXPECT_TRUE(readWholeFile(path, bytes, 101));
}

}  // namespace
}  // namespace tallimar::common
