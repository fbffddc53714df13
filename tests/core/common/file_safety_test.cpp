// Saves that respect the file they replace, whole-file reads, and line splitting.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "common/atomic_file.h"
#include "common/text_lines.h"
#include "support/temp_dir.h"

namespace tallimar::common {
namespace {

namespace fs = std::filesystem;

class FileSafety : public testsupport::TempDirTest {
 protected:
  mode_t modeOf(const std::string& file) const {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
  }
  std::size_t entries(const fs::path& folder) const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }
};

TEST_F(FileSafety, SaveFollowsLinksAndKeepsTheModeOfTheFileItReplaces) {
  const auto real = write("real.vex", "old");
  fs::create_directory(dir / "sub");
  fs::create_symlink("../real.vex", dir / "sub" / "hop");  // relative, then a second link
  fs::create_symlink(dir / "sub" / "hop", path("link.vex"));
  fs::permissions(real, fs::perms(0640));
  ASSERT_TRUE(writeFileAtomically(path("link.vex"), "new"));
  EXPECT_TRUE(fs::is_symlink(path("link.vex")));
  EXPECT_TRUE(fs::is_symlink(dir / "sub" / "hop"));
  EXPECT_EQ(read(real), "new");
  EXPECT_EQ(modeOf(real), 0640u);

  // A link to nothing yet creates its target.
  fs::create_symlink("made.vex", path("dangling.vex"));
  ASSERT_TRUE(writeFileAtomically(path("dangling.vex"), "made"));
  EXPECT_EQ(read(path("made.vex")), "made");
  ASSERT_TRUE(writeFileAtomically(path("out.bin"), std::string("new\0data", 8)));
  EXPECT_EQ(read(path("out.bin")), std::string("new\0data", 8));
  EXPECT_EQ(entries(dir), 6u);  // no temporary file left anywhere
  EXPECT_EQ(entries(dir / "sub"), 1u);
}

TEST_F(FileSafety, RefusedSavesNameTheUsersFileAndLeaveItAsItWas) {
  const auto readOnly = write("locked.vex", "old");
  fs::permissions(readOnly, fs::perms(0444));
  fs::create_symlink(readOnly, path("to-locked.vex"));
  fs::create_directory(path("folder.vex"));
  fs::create_symlink("loop.vex", path("loop.vex"));
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {readOnly, "locked.vex is read-only"},  // also for root, who may write anything
      {path("to-locked.vex"), "to-locked.vex is read-only"},
      {path("folder.vex"), "folder.vex is not a file"},
      {path("loop.vex"), "loop.vex cannot be written: Too many levels of symbolic links"},
  };
  for (const auto& c : cases) {
    const Outcome saved = writeFileAtomically(c.path, "new");
    ASSERT_FALSE(saved) << c.path;
    EXPECT_EQ(saved.reason(), c.reason);
    EXPECT_EQ(checkSaveTarget(c.path).reason(), c.reason);  // as the picture and PDF writers ask
  }
  EXPECT_TRUE(checkSaveTarget(path("new.pdf")));
  EXPECT_EQ(writeFileAtomically(path("no/out.bin"), "x").reason(),
            "out.bin cannot be written: No such file or directory");
  EXPECT_EQ(read(readOnly), "old");
  EXPECT_EQ(modeOf(readOnly), 0444u);

  // Contents that fail half-way: their own reason, and the old file stays.
  const auto kept = write("kept.HDMAP", "old");
  const Outcome stopped = writeFileAtomically(kept, [](std::ostream& out) {
    out << std::string(200000, 'x');
    return Outcome(fail("The cell at RPM 2500 and MAP 80 is too long"));
  });
  EXPECT_EQ(stopped.reason(), "The cell at RPM 2500 and MAP 80 is too long");
  EXPECT_EQ(read(kept), "old");
  EXPECT_EQ(entries(dir), 5u);
}

TEST_F(FileSafety, AFullDiskKeepsTheOldFile) {
  const fs::path small = dir / "small";
  fs::create_directory(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << ")";
  const auto file = (small / "map.HDMAP").string();
  ASSERT_TRUE(writeFileAtomically(file, "old"));
  const Outcome saved = writeFileAtomically(file, [](std::ostream& out) {
    const std::string block(4096, 'v');
    for (int i = 0; i < 64 && out; ++i) out << block;  // 256 KiB into 64 KiB
    return Outcome();
  });
  const std::string reason = saved.reason();
  const std::string contents = read(file);
  const std::size_t left = entries(small);
  ::umount2(small.c_str(), MNT_DETACH);
  ASSERT_FALSE(saved);
  EXPECT_EQ(reason, "map.HDMAP cannot be written: No space left on device");
  EXPECT_EQ(contents, "old");
  EXPECT_EQ(left, 1u);
}

TEST_F(FileSafety, WholeFileReadsRefuseFoldersAndReadWhatReportsNoSize) {
  fs::create_directory(path("folder.vex"));
  EXPECT_EQ(readWholeFile(path("folder.vex"), 10).reason(), "is not a file");
  // A file under /proc reports no size: it is read to its end, and the limit still holds.
  EXPECT_NE(readWholeFile("/proc/self/status", 1 << 20)->find("Pid:"), std::string::npos);
  EXPECT_EQ(readWholeFile("/proc/self/status", 10).reason(), "is larger than 10 bytes");
  const auto big = write("big", std::string(101, 'x'));
  EXPECT_EQ(readWholeFile(big, 100).reason(), "is larger than 100 bytes");
  EXPECT_EQ(readWholeFile(big, 101).value(), std::string(101, 'x'));
}

TEST(SplitLines, EveryLineEndStyle) {
  using Lines = std::vector<std::string>;
  const std::pair<std::string, Lines> cases[] = {{"a\nb", {"a", "b"}},
                                                 {"a\rb\r", {"a", "b"}},
                                                 {"a\r\r\nb", {"a", "", "b"}},
                                                 {"\n\n", {"", ""}}};
  for (const auto& [text, lines] : cases) EXPECT_EQ(splitLines(text), lines) << text;
}

}  // namespace
}  // namespace tallimar::common
