// The percentage bar, drawn for real and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/backdrop.h"
#include "ui/progress_bar.h"
#include "support/ui.h"

namespace {

constexpr COLORREF kDark = 0x7F0000;
constexpr COLORREF kWhite = 0xFFFFFF;

class ProgressBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_instance = GetModuleHandleA(NULL);
    ASSERT_NE(RegisterSetupClasses(g_instance), 0);
  }

  void SetUp() override {
    host_ = CreateWindowExA(0, "CvLogo", "bar host", WS_POPUP | WS_VISIBLE, 10, 10, 400, 120,
                            NULL, NULL, g_instance, NULL);
    ASSERT_TRUE(host_);
    // The preparing dialog's bar: 280 x 21 with a client edge, 276 x 17 inside.
    bar_ = CreateWindowExA(WS_EX_CLIENTEDGE, "CvProBar", NULL, WS_CHILD | WS_VISIBLE, 70, 66 - 40,
                           280, 21, host_, NULL, g_instance, NULL);
    ASSERT_TRUE(bar_);
    RECT client;
    GetClientRect(bar_, &client);
    width_ = client.right;
    height_ = client.bottom;
    ui::Pump();
  }

  void TearDown() override { DestroyWindow(host_); }

  COLORREF At(int x, int y) {
    HDC dc = GetDC(bar_);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(bar_, dc);
    return c;
  }

  // Counts pixels of a colour in columns [x0, x1) of the label rows.
  int Count(COLORREF colour, int x0, int x1) {
    HDC dc = GetDC(bar_);
    int n = 0;
    for (int y = 1; y < height_ - 1; ++y)
      for (int x = x0; x < x1; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(bar_, dc);
    return n;
  }

  // Where the fill ends along the top row (the label never reaches it).
  int FillEnd() {
    int x = 0;
    while (x < width_ && At(x, 0) == kDark) ++x;
    return x;
  }

  HWND host_ = NULL, bar_ = NULL;
  int width_ = 0, height_ = 0;
};

TEST_F(ProgressBarTest, ClientAreaInsideTheEdge) {
  EXPECT_EQ(width_, 276);
  EXPECT_EQ(height_, 17);
}

TEST_F(ProgressBarTest, FillFollowsThePercentage) {
  struct { int percent, fillEnd; } cases[] = {{0, 0}, {29, 80}, {50, 138}, {58, 160},
                                              {100, 276}, {120, 276}, {-7, 0}};
  for (auto c : cases) {
    DrawProgress(bar_, c.percent);
    EXPECT_EQ(FillEnd(), c.fillEnd) << c.percent << "%";
    if (c.fillEnd < width_) {
      EXPECT_EQ(At(width_ - 1, 0), kWhite) << c.percent << "%";
    }
    if (c.fillEnd > 0) {
      EXPECT_EQ(At(0, height_ - 1), kDark) << c.percent << "%";
    }
  }
}

TEST_F(ProgressBarTest, LabelColourFlipsAtTheSplit) {
  // Nothing filled: a dark label on white, no white-on-dark anywhere.
  DrawProgress(bar_, 0);
  EXPECT_GT(Count(kDark, 0, width_), 10);
  // All filled, even past 100: a white label on dark.
  DrawProgress(bar_, 120);
  EXPECT_GT(Count(kWhite, 0, width_), 10);
  EXPECT_EQ(Count(kWhite, 0, 100), 0);  // the label is centred, away from the left end
  DrawProgress(bar_, -7);
  EXPECT_GT(Count(kDark, 0, width_), 10);
  EXPECT_EQ(Count(kDark, 0, 100), 0);
  // At 50 the split runs through the label: white glyph pixels left of it,
  // dark glyph pixels right of it.
  DrawProgress(bar_, 50);
  EXPECT_GT(Count(kWhite, 118, 138), 5);
  EXPECT_GT(Count(kDark, 138, 158), 5);
}

TEST_F(ProgressBarTest, EveryPercentageDrawsItsOwnLabel) {
  // 7% and 8% fill the same 19 pixels; only their labels tell them apart.
  DrawProgress(bar_, 7);
  int seven = Count(kDark, 20, width_);
  DrawProgress(bar_, 8);
  int eight = Count(kDark, 20, width_);
  EXPECT_NE(seven, eight);
}

TEST_F(ProgressBarTest, PaintShowsTheStoredPercentage) {
  g_barPercentage = 29;
  InvalidateRect(bar_, NULL, TRUE);
  UpdateWindow(bar_);
  EXPECT_EQ(FillEnd(), 80);
  g_barPercentage = 0;
  InvalidateRect(bar_, NULL, TRUE);
  UpdateWindow(bar_);
  EXPECT_EQ(FillEnd(), 0);
  EXPECT_GT(Count(kDark, 0, width_), 10);  // "0%" in dark blue
}

}  // namespace
