// WININIT.INI's [rename] section edited as text: our lines come and go, and
// everything else in the file stays byte for byte.
#include "setupdll/wininit_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A file as other programs leave it: other sections, blank lines, a pending
// rename and duplicate NUL lines of their own, and no line end at the end.
const std::string kOthers =
    "; written by hand\r\n"
    "[CombineVxDs]\r\n"
    "C:\\WINDOWS\\SYSTEM\\VMM32\\IOS.VXD=C:\\WINDOWS\\SYSTEM\\VMM32.VXD\r\n"
    "\r\n"
    "[Rename]\r\n"
    "C:\\WINDOWS\\SYSTEM\\MFC42.DLL=C:\\WINDOWS\\SYSTEM\\MFC42.NEW\r\n"
    "NUL=C:\\WINDOWS\\TEMP\\~GLC0001.TMP\r\n"
    "NUL=C:\\WINDOWS\\TEMP\\~GLC0001.TMP\r\n"
    "  nul = C:\\WINDOWS\\TEMP\\OTHER.TMP\r\n"
    "\r\n"
    "\r\n"
    "[Last]\r\n"
    "A=1";

const char kTarget[] = "C:\\PROGRA~1\\CORVANE\\CV32W.EXE";
const char kSource[] = "C:\\PROGRA~1\\CORVANE\\CVS1A2B.TMP";

// Runs AddRenameLine on text in a buffer with spare bytes of room.
bool Add(std::string* text, const char* key, const char* value, size_t spare = 600) {
  std::vector<char> buffer(text->begin(), text->end());
  buffer.resize(text->size() + spare);
  size_t length = text->size();
  const bool added = wininit::AddRenameLine(buffer.data(), &length, buffer.size(), key, value);
  text->assign(buffer.data(), length);
  return added;
}

size_t Remove(std::string* text, const char* key, const char* value) {
  std::vector<char> buffer(text->begin(), text->end());
  size_t length = text->size();
  const size_t removed = wininit::RemoveRenameLines(buffer.data(), &length, key, value);
  text->assign(buffer.data(), length);
  return removed;
}

std::string Find(const std::string& text, const char* key) {
  char value[64] = "x";
  const size_t needed = wininit::FindRenameValue(text.data(), text.size(), key, value, sizeof value);
  EXPECT_EQ(needed == 0 ? 0 : std::string(value).size() + 1, needed);
  return value;
}

TEST(WininitText, OurLinesJoinTheSectionAndLeaveItAsItWas) {
  std::string text = kOthers;
  ASSERT_TRUE(Add(&text, kTarget, kSource));
  ASSERT_TRUE(Add(&text, "NUL", "C:\\PROGRA~1\\CORVANE\\CVS0001.TMP"));
  // After the section's last line, before its blank lines and the next section.
  const std::string ours = std::string(kTarget) + "=" + kSource + "\r\nNUL=C:\\PROGRA~1\\CORVANE\\CVS0001.TMP\r\n";
  const size_t endOfSection = kOthers.find("OTHER.TMP\r\n") + 11;
  EXPECT_EQ(kOthers.substr(0, endOfSection) + ours + kOthers.substr(endOfSection), text);

  EXPECT_EQ(1u, Remove(&text, "nul", "c:\\progra~1\\corvane\\cvs0001.tmp"));
  EXPECT_EQ(1u, Remove(&text, kTarget, nullptr));
  EXPECT_EQ(kOthers, text);
}

TEST(WininitText, ALastLineWithoutLineEndKeepsItsShape) {
  for (const std::string before : {"[rename]\nNUL=C:\\A.TMP", "[RENAME]  ", "x=1\r\n[rename]"}) {
    std::string text = before;
    ASSERT_TRUE(Add(&text, "NUL", "C:\\B.TMP"));
    EXPECT_EQ(before + "\r\nNUL=C:\\B.TMP", text);
    EXPECT_EQ(1u, Remove(&text, "NUL", "C:\\B.TMP"));
    EXPECT_EQ(before, text);
  }
}

TEST(WininitText, AMissingSectionIsMadeAtTheEnd) {
  std::string text;
  ASSERT_TRUE(Add(&text, "NUL", "C:\\WINDOWS\\TEMP\\~CVUN00.EXE"));
  EXPECT_EQ("[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~CVUN00.EXE\r\n", text);
  ASSERT_TRUE(Add(&text, "NUL", "C:\\B"));  // the profile functions would merge the two
  EXPECT_EQ("[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~CVUN00.EXE\r\nNUL=C:\\B\r\n", text);

  text = "[other]\nNUL=C:\\NOT-HERE";
  ASSERT_TRUE(Add(&text, "NUL", "C:\\X"));
  EXPECT_EQ("[other]\nNUL=C:\\NOT-HERE\r\n[rename]\r\nNUL=C:\\X\r\n", text);
  EXPECT_EQ(0u, Remove(&text, "NUL", "C:\\NOT-HERE"));
}

TEST(WininitText, FindsTheLastRenameOfAKey) {
  std::string text = kOthers;
  EXPECT_EQ("C:\\WINDOWS\\SYSTEM\\MFC42.NEW", Find(text, "c:\\windows\\system\\mfc42.dll"));
  EXPECT_EQ("C:\\WINDOWS\\TEMP\\OTHER.TMP", Find(text, "NUL"));
  EXPECT_EQ("", Find(text, "C:\\WINDOWS\\SYSTEM\\VMM32\\IOS.VXD"));  // not in [rename]
  EXPECT_EQ("", Find(text, "A"));
  ASSERT_TRUE(Add(&text, "C:\\WINDOWS\\SYSTEM\\MFC42.DLL", "C:\\MINE.TMP"));
  EXPECT_EQ("C:\\MINE.TMP", Find(text, "C:\\WINDOWS\\SYSTEM\\MFC42.DLL"));
  EXPECT_EQ(2u, Remove(&text, "NUL", "C:\\WINDOWS\\TEMP\\~GLC0001.TMP"));
  EXPECT_EQ("C:\\WINDOWS\\TEMP\\OTHER.TMP", Find(text, "NUL"));

  char small[12] = "x";  // "C:\MINE.TMP" needs twelve bytes with its terminator
  EXPECT_EQ(12u, wininit::FindRenameValue(text.data(), text.size(), "C:\\WINDOWS\\SYSTEM\\MFC42.DLL", small, 11));
  EXPECT_STREQ("", small);
  EXPECT_EQ(12u, wininit::FindRenameValue(text.data(), text.size(), "C:\\WINDOWS\\SYSTEM\\MFC42.DLL", small, 12));
  EXPECT_STREQ("C:\\MINE.TMP", small);
}

TEST(WininitText, RefusesWhatDoesNotFitOrWouldNotReadBack) {
  const std::string line = std::string(kTarget) + "=" + kSource + "\r\n";
  std::string text = kOthers;
  EXPECT_FALSE(Add(&text, kTarget, kSource, line.size() - 1));
  EXPECT_EQ(kOthers, text);
  EXPECT_TRUE(Add(&text, kTarget, kSource, line.size()));
  EXPECT_LE(line.size(), wininit::AddedSize(kTarget, kSource));

  text = "";
  EXPECT_FALSE(Add(&text, "", "C:\\X"));
  EXPECT_FALSE(Add(&text, "NUL", ""));
  EXPECT_FALSE(Add(&text, "A=B", "C:\\X"));
  EXPECT_FALSE(Add(&text, "[rename]", "C:\\X"));
  EXPECT_FALSE(Add(&text, "NUL", "C:\\X\r\nC:\\WINDOWS\\WIN.COM=C:\\X"));
  EXPECT_EQ("", text);

  text = "";
  EXPECT_FALSE(Add(&text, "NUL", "C:\\X", wininit::AddedSize("NUL", "C:\\X") - 5));
  EXPECT_TRUE(Add(&text, "NUL", "C:\\X", wininit::AddedSize("NUL", "C:\\X")));
}

}  // namespace
