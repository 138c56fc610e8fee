// A screen at 120 dots per inch (this program runs in a Wine prefix set up so).
#include <gtest/gtest.h>

#include "support/HostHarness.h"
#include "support/TestSupport.h"

TEST(Dpi120, BigIsShownAndTheLayoutReturnsToItsPixelSizes) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 120) << "this test needs the 120 dots per inch prefix";
  PrepareBootDrive("@echo off\r\n", nullptr);
  BoxWatcher boxes;
  HostModule host;
  host.CreateDefault();
  HWND tip = FindTipWindow();
  ASSERT_NE(tip, nullptr);
  auto seen = boxes.Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Big");
  // Loading scaled the form by 120/96, "Big" scaled it back: the pixel sizes of the form
  // resource again, whatever the screen.
  RECT ok = ClientBoundsOf(FindControl(tip, "HotSpeedButtonOK"));
  EXPECT_EQ(ok.right - ok.left, 36);
  EXPECT_EQ(ok.bottom - ok.top, 36);
  EXPECT_EQ(ok.left, 16);
  RECT title = ClientBoundsOf(FindControl(tip, "StaticTextTitle"));
  EXPECT_EQ(title.left, 16);
  EXPECT_EQ(title.top, 8);
  RECT help = ClientBoundsOf(FindControl(tip, "MemoHelpD"));
  EXPECT_EQ(help.bottom - help.top, 105);
  RECT box = ClientBoundsOf(FindControl(tip, "T263_CheckBox"));
  EXPECT_EQ(box.left, 20);
  EXPECT_EQ(box.top, 150);
  EXPECT_EQ(box.bottom - box.top, 17);
  // Fonts too: the title's bold Tahoma is back at 12 pixels.
  HFONT font = HFONT(SendMessageA(FindControl(tip, "StaticTextTitle"), WM_GETFONT, 0, 0));
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -12);
  host.free();
  PrepareBootDrive(nullptr, nullptr);
}
