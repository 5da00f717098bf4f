// Start-up path handling and window placement.
#include <gtest/gtest.h>

#include <string>

#include "ui/placement.h"
#include "ui/progress_split.h"
#include "shell/startup_path.h"

namespace {

std::string ProgramPath(const char* commandLine, std::size_t size = kStartupBufferSize) {
  std::string buf(size, 'x');
  CopyProgramPath(commandLine, &buf[0], size);
  return buf.c_str();
}

std::string Cut(std::string path) {
  CutAtLastBackslash(&path[0]);
  return path.c_str();
}

}  // namespace

TEST(ProgramPath, TakesFirstWordWithQuotesRemoved) {
  EXPECT_EQ(ProgramPath("C:\\CD\\SETUP.EXE"), "C:\\CD\\SETUP.EXE");
  EXPECT_EQ(ProgramPath("\"C:\\Setup Disk\\SETUP.EXE\" /x y"), "C:\\Setup Disk\\SETUP.EXE");
  EXPECT_EQ(ProgramPath("SETUP arg"), "SETUP");
  EXPECT_EQ(ProgramPath("  \tA:\\SETUP.EXE"), "A:\\SETUP.EXE");
  EXPECT_EQ(ProgramPath(""), "");
}

TEST(ProgramPath, TooLongForTheBufferIsUnusable) {
  std::string longPath = "C:\\" + std::string(600, 'a') + "\\SETUP.EXE";
  char buf[kStartupBufferSize];
  EXPECT_FALSE(CopyProgramPath(longPath.c_str(), buf, sizeof buf));
  EXPECT_STREQ(buf, "");
  // Exactly 501 characters still fit with the terminator.
  std::string fits(kStartupBufferSize - 1, 'b');
  EXPECT_TRUE(CopyProgramPath(fits.c_str(), buf, sizeof buf));
  EXPECT_EQ(std::string(buf), fits);
  std::string over(kStartupBufferSize, 'b');
  EXPECT_FALSE(CopyProgramPath(over.c_str(), buf, sizeof buf));
}

TEST(SetupFolderCut, CutsAtTheLastBackslashOnly) {
  EXPECT_EQ(Cut("C:\\CD\\SETUP.EXE"), "C:\\CD");
  EXPECT_EQ(Cut("A:\\SETUP.EXE"), "A:");
  EXPECT_EQ(Cut("SETUP"), "");
  EXPECT_EQ(Cut("SETUP.EXE"), "");
  // Only the backslash separates.
  EXPECT_EQ(Cut("C:/CD/SETUP.EXE"), "");
  EXPECT_EQ(Cut("..\\medium/x\\SETUP.EXE"), "..\\medium/x");
  // The byte at index 0 is never tested.
  EXPECT_EQ(Cut("\\SETUP.EXE"), "");
  EXPECT_EQ(Cut("\\\\server\\share\\SETUP.EXE"), "\\\\server\\share");
  EXPECT_EQ(Cut(""), "");
}

TEST(Bounded, AppendAndCopyNeverOverrun) {
  char buf[12] = "C:\\abc";
  EXPECT_TRUE(AppendBounded(buf, sizeof buf, "\\de"));
  EXPECT_STREQ(buf, "C:\\abc\\de");
  EXPECT_FALSE(AppendBounded(buf, sizeof buf, "\\fgh"));  // 13 bytes needed
  EXPECT_STREQ(buf, "C:\\abc\\de");
  EXPECT_TRUE(AppendBounded(buf, sizeof buf, "fg"));      // exactly 12
  EXPECT_FALSE(CopyBounded(buf, 4, "abcd"));
  EXPECT_STREQ(buf, "");
  EXPECT_TRUE(CopyBounded(buf, 5, "abcd"));
}

TEST(Placement, TruncatesTowardZero) {
  EXPECT_EQ(CenteredOrigin(800, 411), 194);
  EXPECT_EQ(CenteredOrigin(640, 400), 120);
  EXPECT_EQ(CenteredOrigin(400, 411), -5);  // -11 / 2, not -6
  EXPECT_EQ(LogoTop(480), 40);
  EXPECT_EQ(LogoTop(600), 100);
  EXPECT_EQ(CenteredOrigin(800, kLogoWidth), 200);
  // The preparing dialog's bottom edge: top + h.
  EXPECT_EQ(BelowLogoTop(480, 100) + 100, 465);
  EXPECT_EQ(BelowLogoTop(600, 77) + 77, 525);
  EXPECT_EQ(BelowLogoTop(401, 0), 426);  // (401 - 450) / 2 = -24
}

TEST(ProgressSplit, FollowsThePercentage) {
  EXPECT_EQ(ProgressSplit(0, 276, 29), 80);
  EXPECT_EQ(ProgressSplit(0, 276, 58), 160);
  EXPECT_EQ(ProgressSplit(0, 276, 0), 0);
  EXPECT_EQ(ProgressSplit(0, 276, 100), 276);
  EXPECT_EQ(ProgressSplit(0, 346, 50), 173);
  EXPECT_EQ(ProgressSplit(0, 276, 120), 331);
  EXPECT_EQ(ProgressSplit(0, 276, -7), -19);  // truncated toward zero
  // The 64-bit arithmetic, truncated toward zero, up to the limits.
  for (int left : {0, 5, -2147483647 - 1, 2147483647})
    for (int width : {346, -7, 2147483647, -2147483647 - 1})
      for (int percent : {1, -99, 1234567, 2147483647, -2147483647 - 1}) {
        long long x = left + static_cast<long long>(width) * percent / 100;
        x = x > 0x3FFFFFFF ? 0x3FFFFFFF : x < -0x3FFFFFFF ? -0x3FFFFFFF : x;
        EXPECT_EQ(ProgressSplit(left, width, percent), x) << left << " " << width << " " << percent;
      }
  // Absurd percentages stay finite.
  EXPECT_GT(ProgressSplit(0, 346, 2147483647), 346);
  EXPECT_LT(ProgressSplit(0, 346, -2147483647 - 1), 0);
}
