// The licence agreement arrives already broken into lines and paragraphs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pages/agreement_text.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Agreement, SeventeenLinesInFourParagraphs) {
  const std::string text = kAgreementText;
  EXPECT_EQ(text.size(), 831u);
  EXPECT_EQ(std::strlen(kAgreementText), 831u);
  std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 17u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 74u) << "line " << i + 1;
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i + 1;
    bool blank = (i + 1 == 4 || i + 1 == 11 || i + 1 == 15);
    EXPECT_EQ(lines[i].empty(), blank) << "line " << i + 1;
  }
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
}

TEST(Agreement, NamesTheProductOnceAndTheMakerThrice) {
  const std::string text = kAgreementText;
  EXPECT_EQ(Count(text, "코르바네™"), 1);
  EXPECT_EQ(Lines(text)[0].find("코르바네™"), 0u);
  EXPECT_EQ(Count(text, "(주)하늘정보기술"), 3);
}
