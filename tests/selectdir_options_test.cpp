// The select-directory dialog's options: typed new names (allowed, created, confirmed),
// the help button and the network button.  Works in c:\seldir_test; it runs apart from
// the other programs that use real input (SendInput clicks).
#include <gtest/gtest.h>

#include "toolkit/Consts.h"
#include "toolkit/Form.h"

#include "support/DialogScript.h"
#include "support/SelectDirFixture.h"
#include "support/TestSupport.h"

namespace {

// --- new names --------------------------------------------------------------------------

TEST_F(SelectDir, TypedNamesAreReturnedAsTypedAndCreatedOnlyWhereTheyPoint) {
  const TChooseDirOptions allow{cdAllowNewName}, create{cdAllowNewName, cdCreateOnAccept},
      confirm{cdAllowNewName, cdConfirmCreate}, all{cdAllowNewName, cdConfirmCreate, cdCreateOnAccept};
  struct Case {
    std::string typed;
    TChooseDirOptions options;
    std::vector<int> answers;  // to the creation questions, in order
    bool result;
    std::set<std::string> created;  // below the test folder
  } cases[] = {
      {kRoot + "\\New1", allow, {}, true, {}},
      {kRoot + "\\New2\\Sub", create, {}, true, {"New2", "New2\\Sub"}},
      {kRoot + "\\New3", confirm, {IDNO}, false, {}},  // No keeps the dialog open; Escape then
      {kRoot + "\\New4", all, {IDNO, IDYES}, true, {"New4"}},
      {kRoot + "\\Gamma", all, {}, true, {}},          // exists: no question
      {kRoot + "\\Slash\\", all, {IDYES}, true, {"Slash"}},
      {kRoot + "\\Blank  ", create, {}, true, {"Blank"}},
      {kRoot + "/Fwd/Sub", create, {}, true, {}},
      {"Rel\\Sub", create, {}, true, {}},
      {"Rel", all, {IDYES}, true, {}},
      {kRoot + "\\a<b>|c", all, {IDYES}, true, {}},
      {kRoot + "\\q?*", create, {}, true, {}},
      {"", all, {IDYES}, true, {}},
  };
  for (Case &c : cases) {
    SCOPED_TRACE("typed \"" + c.typed + "\" options " + std::to_string(c.options.Bits));
    ChDir(kAlpha);
    auto rootBefore = TopOfC();
    auto before = TreeOf(kRoot);
    std::vector<std::string> questions;
    std::vector<Step> steps = {AltKey('V'), Key(VK_BACK), Type(c.typed),
                               Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "DirEdit"); }),
                               Key(VK_RETURN)};
    for (size_t i = 0; i < c.answers.size(); ++i) {
      if (i > 0) steps.push_back(Click(OK));
      steps.push_back(AnswerBox(c.answers[i], &questions));
      if (c.answers[i] == IDNO)
        steps.push_back(Check([](TSelectDirDlg &dlg) { EXPECT_TRUE(IsWindowVisible(dlg.Handle())) << "stays open"; }));
    }
    if (!c.result) steps.push_back(Key(VK_ESCAPE));
    Script script(steps);
    std::string dir = "before";
    EXPECT_EQ(ChooseDirectory(dir, c.options, 0), c.result);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.result ? c.typed : "before");
    EXPECT_EQ(questions, std::vector<std::string>(c.answers.size(), SConfirmCreateDir));
    std::set<std::string> made = Added(before, TreeOf(kRoot));
    // The system may keep or drop trailing blanks; either names the same directory.
    if (made.count("Blank  ")) made = {"Blank"};
    EXPECT_EQ(made, c.created);
    // Nothing at the top of c: named like a part of the text (other tests come and go there).
    for (const std::string &entry : Added(rootBefore, TopOfC()))
      for (const std::string &part : PartsOf(c.typed)) EXPECT_NE(AnsiLowerCase(entry), AnsiLowerCase(part));
    EXPECT_EQ(GetCurrentDir(), kAlpha);
    for (auto it = c.created.rbegin(); it != c.created.rend(); ++it) RemoveDirectoryA((kRoot + "\\" + *it).c_str());
  }
}

TEST_F(SelectDir, WithoutNewNamesOKNeverAsksAndCreatesNothing) {
  for (TChooseDirOptions options : {TChooseDirOptions{cdConfirmCreate}, TChooseDirOptions{cdConfirmCreate, cdCreateOnAccept}}) {
    ChDir(kAlpha);
    BoxRecorder boxes;
    auto before = TreeOf(kRoot);
    std::string dir;
    // The edit box is hidden: Alt with its accelerator goes nowhere, and its text is
    // not what is returned.
    Script script({AltKey('V'), Check([](TSelectDirDlg &dlg) {
                     EXPECT_FALSE(dlg.DirEdit->Visible());
                     EXPECT_EQ(FocusName(), "DirList");
                     dlg.DirEdit->SetText(kRoot + "\\Elsewhere");
                   }),
                   Click(OK)});
    EXPECT_TRUE(ChooseDirectory(dir, options, 0));
    EXPECT_EQ(dir, kAlpha);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(TreeOf(kRoot), before);
  }
}

// --- help and network -------------------------------------------------------------------

TEST_F(SelectDir, HelpContextGivesAHelpButtonOrClosesUpOKAndCancel) {
  struct Case {
    int ctx;
    bool help;
    int okLeft, cancelLeft;
  } cases[] = {{1000, true, 172, 256}, {0, false, 256, 340}, {-1, true, 172, 256}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.ctx);
    helpRequests.clear();
    std::string dir;
    std::vector<Step> steps = {Check([&](TSelectDirDlg &dlg) {
      EXPECT_EQ(dlg.HelpButton->Visible(), c.help);
      EXPECT_EQ(IsWindowVisible(dlg.HelpButton->Handle()) != 0, c.help);
      EXPECT_EQ(WindowBoundsOf(dlg.OKButton).left, Scaled(c.okLeft));
      EXPECT_EQ(WindowBoundsOf(dlg.CancelButton).left, Scaled(c.cancelLeft));
      EXPECT_EQ(dlg.HelpContext, c.ctx);
    })};
    if (c.help) {
      steps.push_back(Click(Help));
      steps.push_back(Check([&](TSelectDirDlg &) {
        EXPECT_EQ(helpRequests, std::vector<int>{c.ctx});
      }));
    }
    steps.push_back(Click(Cancel));  // where it now stands
    Script script(steps);
    EXPECT_FALSE(ChooseDirectory(dir, {}, c.ctx));
    EXPECT_TRUE(script.Done());
  }
  // Without a help system the user is told that there is no help file; the dialog stays.
  SetHelpHandler(nullptr);
  BoxRecorder boxes;
  std::string dir;
  Script script({Click(Help), Check([&](TSelectDirDlg &dlg) {
                   ASSERT_EQ(boxes.boxes.size(), 1u);
                   EXPECT_NE(boxes.boxes[0].text.find("1000"), std::string::npos) << boxes.boxes[0].text;
                   EXPECT_TRUE(IsWindowVisible(dlg.Handle()));
                 }),
                 Key(VK_ESCAPE)});
  EXPECT_FALSE(ChooseDirectory(dir, {}, 1000));
  EXPECT_TRUE(script.Done());
}

TEST_F(SelectDir, NetworkButtonOnlyWhereTheSystemHasTheConnectionDialog) {
  static std::vector<WORD> capsAsked;
  static std::vector<std::pair<HWND, DWORD>> connects;
  static WORD driver;
  static bool hasCaps, hasConnect;
  SetNetProcLookup([](HMODULE m, const char *name) -> FARPROC {
    if (strcmp(name, "WNETGETCAPS") == 0) {
      EXPECT_EQ(m, GetModuleHandleA("user32.dll"));
      if (!hasCaps) return nullptr;
      return reinterpret_cast<FARPROC>(+[](WORD index) -> WORD {
        capsAsked.push_back(index);
        return driver;
      });
    }
    if (strcmp(name, "WNETCONNECTDIALOG") == 0) {
      EXPECT_EQ(UINT_PTR(m), UINT_PTR(driver)) << "looked up in the module WNETGETCAPS named";
      if (!hasConnect) return nullptr;
      return reinterpret_cast<FARPROC>(+[](HWND owner, DWORD type) -> DWORD {
        connects.push_back({owner, type});
        return 1234;
      });
    }
    return nullptr;
  });
  struct Case {
    bool caps;
    WORD driver;
    bool connect;
    bool shown;
  } cases[] = {{false, 0, true, false}, {true, 0, true, false}, {true, 0x77, false, false}, {true, 0x77, true, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(Format("caps %d driver %x connect %d", c.caps, c.driver, c.connect));
    hasCaps = c.caps;
    hasConnect = c.connect;
    driver = c.driver;
    capsAsked.clear();
    connects.clear();
    HWND dialog = nullptr;
    std::vector<Step> steps = {Check([&](TSelectDirDlg &dlg) {
      dialog = dlg.Handle();
      EXPECT_EQ(dlg.NetButton->Visible(), c.shown);
      EXPECT_EQ(dlg.ConnectDialogProc() != nullptr, c.shown);
    })};
    if (c.shown) {
      steps.push_back(Click(Net));
      steps.push_back(Check([&](TSelectDirDlg &dlg) {
        EXPECT_EQ(connects, (std::vector<std::pair<HWND, DWORD>>{{dlg.Handle(), 1}}));
        EXPECT_TRUE(IsWindowVisible(dlg.Handle()));
      }));
    }
    steps.push_back(Key(VK_ESCAPE));
    Script script(steps);
    std::string dir;
    EXPECT_FALSE(ChooseDirectory(dir, {}, 0));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(capsAsked, c.caps ? std::vector<WORD>{0xFFFF} : std::vector<WORD>{});
  }
  // This system's user32 has no WNETGETCAPS: the real look-up hides the button.
  SetNetProcLookup(nullptr);
  std::string dir;
  Script script({Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(dlg.NetButton->Visible(),
                             GetProcAddress(GetModuleHandleA("user32.dll"), "WNETGETCAPS") != nullptr);
                 }),
                 Key(VK_ESCAPE)});
  ChooseDirectory(dir, {}, 0);
  EXPECT_TRUE(script.Done());
}

}  // namespace
