// The module on the oldest systems it is for: where user32 has no TrackMouseEvent and
// comctl32 no InitCommonControlsEx (the first Windows 95), the image buttons still light
// up under the mouse and go dark when it leaves, and hints still have their window.
#include <gtest/gtest.h>

#include <memory>

#include "support/TestSupport.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/Form.h"
#include "toolkit/OptionalApi.h"

namespace {

TEST(OlderSystems, HoverAndHintsWithoutTheNewerFunctions) {
  struct Case {
    const char *what;
    bool trackMouseEvent, initCommonControlsEx;
  } cases[] = {
      {"every function there", true, true},
      {"no TrackMouseEvent", false, true},
      {"no InitCommonControlsEx", true, false},
      {"neither", false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    OptionalApi() = SystemOptionalApi();
    ASSERT_NE(OptionalApi().TrackMouseEvent, nullptr) << "this system has it: the test takes it away";
    ASSERT_NE(OptionalApi().InitCommonControlsEx, nullptr);
    if (!c.trackMouseEvent) OptionalApi().TrackMouseEvent = nullptr;
    if (!c.initCommonControlsEx) OptionalApi().InitCommonControlsEx = nullptr;

    std::unique_ptr<TForm> form(CreateForm<TForm>(nullptr));
    form->SetBounds(700, 560, 220, 140);
    auto *button = new TSpeedButton(form.get());
    button->SetBounds(20, 20, 60, 30);
    button->SetParent(form.get());
    button->SetHint("Hinweis");
    button->SetShowHint(true);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    EXPECT_NE(form->HintWindow(), nullptr);

    RECT r;
    GetWindowRect(button->Handle(), &r);
    MoveMouse({r.left + 5, r.top + 5});
    EXPECT_TRUE(button->Hot());
    MoveMouse({r.right + 60, r.bottom + 40});  // still over the window, off the button
    WaitUntil([&] { return !button->Hot(); });  // told by the system, or found by the timer
    EXPECT_FALSE(button->Hot());
  }
  OptionalApi() = SystemOptionalApi();
}

}  // namespace
