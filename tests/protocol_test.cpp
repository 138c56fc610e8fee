// The host's window message "Orvane": commands to the tip window, broadcasts from it, and
// the keyboard and mouse as a person uses them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "support/HostHarness.h"

#include <commctrl.h>
#include "support/TestSupport.h"

namespace {

using Listener = BroadcastListener;

class Protocol : public testing::Test {
 protected:
  void SetUp() override {
    PrepareBootDrive("@echo off\r\n", "Datum\r\n");
    host_.CreateDefault();
    tip_ = FindTipWindow();
    ASSERT_NE(tip_, nullptr);
  }
  void TearDown() override { PrepareBootDrive(nullptr, nullptr); }
  LRESULT Send(long long w, long long l) { return SendMessageA(tip_, host_.message, WPARAM(w), LPARAM(l)); }
  BoxWatcher boxes_;
  HostModule host_;
  HWND tip_ = nullptr;
};

TEST_F(Protocol, MoveAndSizeCommands) {
  struct Step {
    int command, argument;
    LONG left, top, width, height;
  } steps[] = {
      {10, 7, 7, 1, 300, 460},   {10, 0, 1, 1, 300, 460},  {11, 9, 1, 9, 300, 460},
      {11, 0, 1, 1, 300, 460},   {12, 350, 1, 1, 350, 460}, {13, 500, 1, 1, 350, 500},
      {100, 5, 1, 1, 350, 500},  {14, 5, 1, 1, 350, 500},   {9999, 1, 1, 1, 350, 500},
  };
  for (auto &s : steps) {
    SCOPED_TRACE(testing::Message() << "command " << s.command << " with " << s.argument);
    Send(s.command, s.argument);
    RECT r = ScreenRectOf(tip_);
    EXPECT_EQ(r.left, s.left);
    EXPECT_EQ(r.top, s.top);
    EXPECT_EQ(r.right - r.left, s.width);
    EXPECT_EQ(r.bottom - r.top, s.height);
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Protocol, ZeroWidthAndHeightAreTakenAsGiven) {
  Send(12, 0);
  Send(13, 0);
  RECT r = ScreenRectOf(tip_);
  // A window cannot be narrower than its frame; the module asks for nothing else.
  EXPECT_LE(r.right - r.left, GetSystemMetrics(SM_CXMIN));
  EXPECT_LE(r.bottom - r.top, GetSystemMetrics(SM_CYMIN));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Protocol, NegativeValuesAreRefusedAndChangeNothing) {
  struct Case {
    long long command, argument;
  } cases[] = {{0, -1}, {10, -1}, {100, -1}, {200, -1}, {-1, 0}, {-1, -1}, {-200, 5}};
  RECT before = ScreenRectOf(tip_);
  for (auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.command << "/" << c.argument);
    boxes_.Clear();
    Send(c.command, c.argument);
    PumpMessages();
    ASSERT_TRUE(IsWindow(tip_));
    auto seen = boxes_.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find("Bereich"), std::string::npos) << seen[0].text;
    RECT now = ScreenRectOf(tip_);
    EXPECT_TRUE(EqualRect(&before, &now));
  }
}

TEST_F(Protocol, OtherMessagesAreOnlyTheWindowsOwn) {
  UINT other = RegisterWindowMessageA("NichtOrvane");
  SendMessageA(tip_, other, 10, 77);
  SendMessageA(tip_, other, WPARAM(-1), 0);
  RECT r = ScreenRectOf(tip_);
  EXPECT_EQ(r.left, 300);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Protocol, CloseCommandDestroysTheWindow) {
  Send(0, 12345);
  EXPECT_FALSE(IsWindow(tip_));
  EXPECT_EQ(CountTipWindows(), 0);
  EXPECT_EQ(host_.free(), 1);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Protocol, ShowCommandShowsRestoresAndRaises) {
  // Hidden, minimised, or minimised by the user: command 200 and F12 both bring it back.
  for (int how : {SW_HIDE, SW_MINIMIZE}) {
    for (bool f12 : {false, true}) {
      SCOPED_TRACE(std::string(how == SW_HIDE ? "hidden" : "minimised") + (f12 ? ", F12" : ", 200"));
      ShowWindow(tip_, how);
      ASSERT_TRUE(how == SW_HIDE ? !IsWindowVisible(tip_) : IsIconic(tip_) != FALSE);
      if (f12) SendMessageA(FindControl(tip_, "T263_Memo"), WM_KEYDOWN, VK_F12, 0);
      else Send(200, 0);
      EXPECT_TRUE(IsWindowVisible(tip_));
      EXPECT_FALSE(IsIconic(tip_));
      EXPECT_EQ(GetForegroundWindow(), tip_);
    }
  }
  // Only the controls that take the focus by Tab carry the tab stop: not the help texts.
  for (const char *name : {"MemoHelpD", "MemoHelpUS", "StaticTextTitle"})
    EXPECT_FALSE(GetWindowLongA(FindControl(tip_, name), GWL_STYLE) & WS_TABSTOP) << name;
  for (const char *name : {"T263_Memo", "T263_CheckBox"})
    EXPECT_TRUE(GetWindowLongA(FindControl(tip_, name), GWL_STYLE) & WS_TABSTOP) << name;
}

TEST_F(Protocol, OkBroadcastsSavedWithTheUndoMark) {
  boxes_.Answer = [](const SeenBox &) { return IDNO; };  // no restart
  Listener listener(host_.message);
  HWND ok = FindControl(tip_, "HotSpeedButtonOK");
  PressWithMouseMessages(ok);
  PressWithMouseMessages(FindControl(tip_, "HotSpeedButtonUndo"));
  PressWithMouseMessages(ok);
  std::vector<std::pair<WPARAM, LPARAM>> expected = {{9999, 2}, {9999, 1}};
  EXPECT_EQ(listener.received, expected);
  // Each OK ends with the restart prompt, after the broadcast.
  std::vector<SeenBox> seen = boxes_.Boxes();
  ASSERT_EQ(seen.size(), 2u);
  for (const SeenBox &b : seen) EXPECT_EQ(b.text.find("Um diese Änderung zu aktivieren"), 0u) << b.text;
}

// A program whose window stopped answering (its thread no longer takes messages) delays
// the tip's broadcasts only briefly; every window that answers still has them when OK and
// the menu command return.
// A top-level window whose thread takes no messages until the object goes.
struct HungWindow {
  HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr), release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread thread{[this] {
    HWND h = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(made);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(h);
  }};
  HungWindow() { WaitForSingleObject(made, 10000); }
  ~HungWindow() {
    SetEvent(release);
    thread.join();
    CloseHandle(made);
    CloseHandle(release);
  }
};

TEST_F(Protocol, AHungWindowDelaysTheBroadcastsOnlyBriefly) {
  boxes_.Answer = [](const SeenBox &) { return IDNO; };  // no restart
  HungWindow hung;
  Listener listener(host_.message);
  struct Step {
    const char *what;
    std::function<void()> act;
    std::pair<WPARAM, LPARAM> broadcast;
  } steps[] = {
      {"OK", [&] { PressWithMouseMessages(FindControl(tip_, "HotSpeedButtonOK")); }, {9999, 2}},
      {"F12", [&] { SendMessageA(FindControl(tip_, "T263_Memo"), WM_KEYDOWN, VK_F12, 0); }, {200, 0}},
  };
  for (const Step &step : steps) {
    SCOPED_TRACE(step.what);
    listener.received.clear();
    DWORD start = GetTickCount();
    step.act();
    DWORD took = GetTickCount() - start;
    std::printf("%s with a hung window took %lu ms\n", step.what, took);
    EXPECT_LT(took, 15000u);
    EXPECT_EQ(listener.received, (std::vector<std::pair<WPARAM, LPARAM>>{step.broadcast}));
  }
}

// Mouse and keyboard tests keep clear of the windows other test programs put on the
// shared display (near the top left).
void MoveAside(HWND tip, UINT message) {
  SendMessageA(tip, message, 10, 700);
  SendMessageA(tip, message, 11, 520);
}

TEST_F(Protocol, F12FromTheKeyboardBroadcastsSwitchWindow) {
  Listener listener(host_.message);
  MoveAside(tip_, host_.message);
  SetForegroundWindow(tip_);
  for (const char *name : {"T263_Memo", "T263_CheckBox", "MemoHelpD"}) {
    SCOPED_TRACE(name);
    listener.received.clear();
    HWND focus = FindControl(tip_, name);
    SetFocus(focus);
    ASSERT_EQ(GetFocus(), focus);
    RealKey(VK_F12);
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{200, 0}};
    EXPECT_EQ(listener.received, expected);
  }
  // The tip answers its own broadcast: hidden, it shows itself again.
  ShowWindow(tip_, SW_HIDE);
  listener.received.clear();
  SendMessageA(FindControl(tip_, "T263_Memo"), WM_KEYDOWN, VK_F12, 0);
  EXPECT_TRUE(IsWindowVisible(tip_));
  EXPECT_EQ(listener.received.size(), 1u);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// A pixel of a window, with what waits to be painted painted first.
COLORREF PixelOf(HWND h, int x, int y) {
  UpdateWindow(h);
  HDC dc = GetDC(h);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(h, dc);
  return c;
}

TEST_F(Protocol, ButtonsShowTheirHotPictureUnderTheMouse) {
  MoveAside(tip_, host_.message);
  SetForegroundWindow(tip_);
  PumpMessages();
  HWND ok = FindControl(tip_, "HotSpeedButtonOK");
  RECT away = ScreenRectOf(FindControl(tip_, "MemoHelpD"));
  MoveMouse({away.left + 5, away.top + 5});
  WaitUntil([ok] {  // until the system has nothing left to tell the button of the mouse
    TRACKMOUSEEVENT query = {sizeof query, TME_QUERY};
    return !TrackMouseEvent(&query) || query.hwndTrack != ok || !(query.dwFlags & TME_LEAVE);
  });
  // A point of the button's square, off the symbol: blue-violet, lighter while hot.
  COLORREF normal = PixelOf(ok, 6, 30);
  RECT r = ScreenRectOf(ok);
  MoveMouse({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  WaitUntil([&] { return PixelOf(ok, 6, 30) != normal; });
  COLORREF hot = PixelOf(ok, 6, 30);
  EXPECT_NE(hot, normal);
  EXPECT_GT(GetRValue(hot) + GetGValue(hot), GetRValue(normal) + GetGValue(normal));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  MoveMouse({away.left + 5, away.top + 5});
  WaitUntil([&] { return PixelOf(ok, 6, 30) == normal; });
  EXPECT_EQ(PixelOf(ok, 6, 30), normal);
}

struct TooltipSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindTooltip(HWND h, LPARAM l) {
  auto *s = reinterpret_cast<TooltipSearch *>(l);
  char cls[64] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (strcmp(cls, "tooltips_class32") == 0 && GetWindow(h, GW_OWNER) == s->owner) s->found = h;
  return TRUE;
}

// The tooltip text a person sees over a control of the tip.
std::string HintOf(HWND tip, const char *name) {
  TooltipSearch search{tip, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, LPARAM(&search));
  if (!search.found) return "<no tooltip>";
  char buf[256] = {0};
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.hwnd = tip;
  ti.uId = UINT_PTR(FindControl(tip, name));
  ti.lpszText = buf;
  SendMessageA(search.found, TTM_GETTEXTA, sizeof buf, LPARAM(&ti));
  return buf;
}

TEST_F(Protocol, HintsFollowTheLanguage) {
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonOK"), "Änderungen werden gespeichert");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonUndo"), "Setzt alles wieder auf die Standartwerte");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonInfo"), "Gültig für ... ");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonRegistry"), "Wert in der Registry nachschlagen");
  host_.free();
  host_.CreateDefault(1);
  tip_ = FindTipWindow();
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonOK"), "Changes will be saved immediately");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonUndo"), "Restore defaults");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonInfo"), "Valid to ...");
  EXPECT_EQ(HintOf(tip_, "HotSpeedButtonRegistry"), "Registry Lookup");
}

}  // namespace
