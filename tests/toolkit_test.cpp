// The toolkit the windows are built with: form resources, layout, component lifetimes,
// string lists, the registry and the runtime's path functions.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestSupport.h"
#include "template/HotSpeedButton.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/Panel.h"
#include "toolkit/ComponentClasses.h"
#include "toolkit/Form.h"
#include "toolkit/FormReader.h"
#include "toolkit/Menus.h"
#include "toolkit/Registry.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/ListControls.h"
#include "toolkit/Memo.h"
#include "toolkit/Label.h"

namespace {

// A form whose resources are given as text by the test.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent *owner) : TForm(owner) {}
  std::vector<std::string> calls;

 protected:
  void RegisterMethods() override {
    RegisterMethod("ButtonClick", [this](TComponent *) { calls.push_back("base"); });
    RegisterMethod("Boom", [](TComponent *) { throw EInOutError("kaputt", 5); });
  }
};

class TDerivedTestForm : public TTestForm {
 public:
  using TTestForm::TTestForm;

 protected:
  void RegisterMethods() override {
    TTestForm::RegisterMethods();
    RegisterMethod("ButtonClick", [this](TComponent *) { calls.push_back("derived"); });
  }
};

template <class F>
std::unique_ptr<F> Read(const std::vector<std::string> &texts) {
  RegisterComponentClass("THotSpeedButton", [](TComponent *o) -> TComponent * { return new THotSpeedButton(o); });
  auto form = std::unique_ptr<F>(CreateForm<F>(nullptr));
  for (auto &t : texts) ReadFormResource(form.get(), t, "TEST");
  return form;
}

const char *const kAncestor = R"(object Base: TTestForm
  ClientWidth = 200
  ClientHeight = 100
  Caption = 'Gr'#252'n ''und'' ' +
    'wei'#223
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 10
    Align = alTop
  end
  object Button1: THotSpeedButton
    Left = 150
    Top = 60
    Anchors = [akRight, akBottom]
    Images = List
    ImageIndex = 1
    OnClick = ButtonClick
  end
  object Memo1: TMemo
    Left = 10
    Top = 20
    Width = 100
    Height = 50
    Anchors = [akLeft, akTop, akRight, akBottom]
    Lines.Strings = (
      'eins'
      'zwei')
    TabOrder = 1
  end
  object Edit1: TEdit
    Left = 10
    Top = 75
    TabOrder = 0
  end
  object List: TImageList
    Width = 32
    Height = 32
    Bitmap = 'TIPPIMAGES'
  end
end
)";

TEST(FormResources, AncestorAndDescendantMakeOneForm) {
  BoxRecorder boxes;
  auto form = Read<TDerivedTestForm>({kAncestor, R"(inherited Derived: TDerivedTestForm
  inherited Button1: THotSpeedButton
    Top = 55
  end
  object Check1: TCheckBox
    Left = 10
    Top = 5
    Caption = 'neu'
    TabOrder = 0
  end
end
)"});
  EXPECT_EQ(form->Caption(), "Grün 'und' weiß");
  EXPECT_EQ(form->Name, "Derived");
  auto *button = dynamic_cast<THotSpeedButton *>(form->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Top(), 55);  // the descendant's change
  EXPECT_EQ(button->Left(), 150);
  EXPECT_EQ(button->GetImageList(), form->FindComponent("List"));  // resolved though named before it existed
  EXPECT_FALSE(button->Glyph().Empty());
  button->Click();
  EXPECT_EQ(form->calls, std::vector<std::string>{"derived"});  // bound by name to the descendant's method
  auto *memo = dynamic_cast<TMemo *>(form->FindComponent("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Lines().Text(), "eins\r\nzwei\r\n");
  // Tab order from the values of both resources: Check1 0, Edit1 1 (pushed down), Memo1 2.
  EXPECT_EQ(form->FindComponent("Check1"), form->TabList()[0]);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(FormResources, MistakesNameTheLineAndWhat) {
  struct Case {
    const char *text;
    const char *expected;
  } cases[] = {
      {"object F: TTestForm\n  Nonsense = 1\nend\n", "Zeile 2"},
      {"object F: TTestForm\n  object X: TNoSuchClass\n  end\nend\n", "TNoSuchClass"},
      {"object F: TTestForm\n  inherited Missing: TPanel\n  end\nend\n", "Missing"},
      {"object F: TTestForm\n  object B: TButton\n    OnClick = NoSuchMethod\n  end\nend\n", "NoSuchMethod"},
      {"object F: TTestForm\n  PopupMenu = Nowhere\nend\n", "Nowhere"},
      {"object F: TTestForm\n  Caption = 'open\nend\n", "Zeile 2"},
      {"object F: TTestForm\n  Visible = 3\nend\n", "Boolean"},
      {"object F: TTestForm\n  BorderStyle = bsRound\nend\n", "Unbekannter Rahmen bsRound"},
      {"object F: TTestForm\n  object L: TLabel\n    Alignment = taJustify\n  end\nend\n",
       "Unbekannte Textausrichtung taJustify"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.text);
    auto form = std::unique_ptr<TTestForm>(CreateForm<TTestForm>(nullptr));
    try {
      ReadFormResource(form.get(), c.text, "TEST");
      ADD_FAILURE() << "no error";
    } catch (const EReadError &e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
    }
  }
}

TEST(Layout, AlignAndAnchorsFollowTheClientArea) {
  BoxRecorder boxes;
  auto form = Read<TTestForm>({kAncestor});
  form->SetClientWidth(300);
  form->SetClientHeight(150);
  auto *panel = dynamic_cast<TPanel *>(form->FindComponent("Panel1"));
  auto *button = dynamic_cast<TControl *>(form->FindComponent("Button1"));
  auto *memo = dynamic_cast<TControl *>(form->FindComponent("Memo1"));
  auto *edit = dynamic_cast<TControl *>(form->FindComponent("Edit1"));
  EXPECT_EQ(panel->Width(), 300);
  EXPECT_EQ(button->Left(), 250);  // right and bottom keep their distance
  EXPECT_EQ(button->Top(), 110);
  EXPECT_EQ(memo->Width(), 200);   // all four anchors: it grows
  EXPECT_EQ(memo->Height(), 100);
  EXPECT_EQ(edit->Left(), 10);     // left and top: it stays
  EXPECT_EQ(edit->Top(), 75);
  form->ScaleBy(120, 96);
  EXPECT_EQ(form->ClientWidth(), 375);
  EXPECT_EQ(edit->Top(), 94);
  EXPECT_EQ(button->Width(), 45);
  form->ScaleBy(96, 120);
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(edit->Top(), 75);
  EXPECT_EQ(button->Width(), 36);
}

// Controls made later lie above those made earlier, whether the parent's window makes
// them all or a control comes once it is there.
TEST(Layout, ControlsMadeLaterLieAbove) {
  std::unique_ptr<TTestForm> form(new TTestForm(nullptr));
  std::vector<TControl *> made;
  for (int i = 0; i < 4; ++i) {
    auto *panel = new TPanel(form.get());
    panel->SetBounds(10 * i, 10 * i, 50, 50);  // overlapping
    panel->SetParent(form.get());
    made.push_back(panel);
  }
  form->Handle();  // makes the four children's windows
  auto *late = new TButton(form.get());
  late->SetParent(form.get());
  made.push_back(late);
  std::vector<HWND> fromTop;
  for (HWND h = GetWindow(form->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    fromTop.push_back(h);
  std::vector<HWND> expected;
  for (auto it = made.rbegin(); it != made.rend(); ++it) expected.push_back((*it)->Handle());
  EXPECT_EQ(fromTop, expected);
}

// Pictures with a transparent colour: the brush takes exactly the transparent pixels, at
// the picture's size and stretched, with the colour given or taken from the picture.
TEST(Painting, BrushCopyFillsOnlyTheTransparentPixels) {
  const COLORREF kKey = RGB(255, 0, 255), kInk = RGB(10, 20, 30), kOther = RGB(200, 100, 50),
                 kBrush = RGB(1, 128, 254), kBack = RGB(7, 7, 7);
  // 8 x 4: the left half a picture (ink on the key colour), the right half other and key.
  TBitmap picture;
  picture.SetSize(8, 4, kKey);
  {
    TMemoryDC dc;
    TSelectGuard sel(dc.Get(), picture.Handle());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        if ((x + y) % 2) SetPixel(dc.Get(), x, y, kInk);
    for (int x = 4; x < 8; ++x) SetPixel(dc.Get(), x, 3, kOther);  // bottom-left of the right half
  }
  struct Case {
    RECT src;
    COLORREF transparent;
    int scale;
  } cases[] = {{{0, 0, 4, 4}, kKey, 1}, {{0, 0, 4, 4}, CLR_INVALID, 1}, {{0, 0, 4, 4}, kKey, 2},
               {{4, 0, 8, 4}, CLR_INVALID, 1}};
  for (const Case &c : cases) {
    TBitmap target;
    target.SetSize(12, 12, kBack);
    TMemoryDC dc;
    TSelectGuard sel(dc.Get(), target.Handle());
    TCanvas canvas(dc.Get());
    canvas.BrushColor = TColor(kBrush);
    RECT dest = {2, 2, 2 + 4 * c.scale, 2 + 4 * c.scale};
    canvas.BrushCopy(dest, picture, c.src, c.transparent);
    COLORREF transparent = c.transparent == CLR_INVALID ? picture.Pixel(c.src.left, 3) : c.transparent;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        COLORREF want = kBack;
        if (x >= dest.left && x < dest.right && y >= dest.top && y < dest.bottom) {
          COLORREF from = picture.Pixel(c.src.left + (x - dest.left) / c.scale, (y - dest.top) / c.scale);
          want = from == transparent ? kBrush : from;
        }
        ASSERT_EQ(GetPixel(dc.Get(), x, y), want) << "src " << c.src.left << " scale " << c.scale
                                                  << " at " << x << "," << y;
      }
  }
}

// The toolkit's own windows draw through one buffer: a window drawn after a larger one
// or after one that changed the drawing state looks as it did when drawn first.
TEST(Painting, OwnWindowsDrawTheSameWhateverWasDrawnBefore) {
  std::unique_ptr<TTestForm> form(new TTestForm(nullptr));
  form->SetClientWidth(300);
  form->SetClientHeight(200);
  auto panel = [&](int w, int h, TColor color, const char *caption) {
    auto *p = new TPanel(form.get());
    p->BevelOuter = bvNone;
    p->SetBounds(0, 0, w, h);
    p->SetColor(color);
    p->SetCaption(caption);
    p->SetParent(form.get());
    return p;
  };
  TPanel *small = panel(7, 5, clRed, ""), *large = panel(120, 60, clBlue, "Text");
  auto *label = new TLabel(form.get());
  label->SetBounds(0, 0, 80, 20);
  label->SetCaption("Beschriftung");
  label->SetParent(form.get());
  form->Handle();
  // The client area as drawn through WM_PRINTCLIENT, pixel by pixel.
  auto print = [](TControl *c) {
    TBitmap b;
    b.SetSize(c->Width(), c->Height(), RGB(0, 255, 0));
    TMemoryDC dc;
    TSelectGuard sel(dc.Get(), b.Handle());
    SendMessageA(c->Handle(), WM_PRINTCLIENT, WPARAM(dc.Get()), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) pixels.push_back(GetPixel(dc.Get(), x, y));
    return pixels;
  };
  std::vector<COLORREF> smallFirst = print(small), largeFirst = print(large);
  EXPECT_EQ(smallFirst, std::vector<COLORREF>(7 * 5, RGB(255, 0, 0)));
  // The larger one whole: its colour and its text, nothing of the smaller or of the page.
  EXPECT_EQ(std::count(largeFirst.begin(), largeFirst.end(), RGB(255, 0, 0)), 0);
  EXPECT_EQ(std::count(largeFirst.begin(), largeFirst.end(), RGB(0, 255, 0)), 0);
  EXPECT_GT(std::count(largeFirst.begin(), largeFirst.end(), RGB(0, 0, 255)), 120 * 60 / 2);
  print(label);
  EXPECT_EQ(print(large), largeFirst);
  EXPECT_EQ(print(small), smallFirst);
}

TEST(Components, OwnersFreeWhatTheyOwnAndTellWhoAsked) {
  struct TWatcher : TComponent {
    TWatcher() : TComponent(nullptr) {}
    std::vector<TComponent *> removed;
    void Notification(TComponent *c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove) removed.push_back(c);
    }
  } watcher;
  auto *owner = new TComponent(nullptr);
  auto *child = new TComponent(owner);
  child->FreeNotification(&watcher);
  owner->FreeNotification(&watcher);
  {
    TDispatchGuard guard;  // as inside a window procedure: the component stays until the end
    child->Free();
    EXPECT_TRUE(child->Freed());
    EXPECT_TRUE(watcher.removed.empty());
    child->Free();  // a second free of a pending component is harmless
  }
  EXPECT_EQ(watcher.removed, std::vector<TComponent *>{child});
  EXPECT_EQ(owner->ComponentCount(), 0);
  owner->Free();
  EXPECT_EQ(watcher.removed.back(), owner);
}

TEST(Components, ExceptionsOfHandlersGoToTheStandardBox) {
  BoxRecorder boxes;
  auto form = Read<TTestForm>({"object F: TTestForm\n  object B: TButton\n    OnClick = Boom\n  end\nend\n"});
  auto *button = dynamic_cast<TButton *>(form->FindComponent("B"));
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(button->Handle()));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].kind, TMessageBoxRequest::Error);
  EXPECT_EQ(boxes.boxes[0].text, "kaputt.");
}

TEST(HotSpeedButton, PicturesComeFromTheImageList) {
  auto form = std::unique_ptr<TTestForm>(CreateForm<TTestForm>(nullptr));
  auto *button = new THotSpeedButton(form.get());
  button->SetParent(form.get());
  EXPECT_TRUE(button->Flat());
  EXPECT_EQ(button->Width(), 36);
  EXPECT_EQ(button->Height(), 36);
  EXPECT_EQ(button->ImageIndex(), 0);
  EXPECT_EQ(button->HotImageIndex(), 0);
  EXPECT_TRUE(button->Glyph().Empty());
  auto *list = new TImageList(form.get());
  list->Width = list->Height = 32;
  list->LoadStrip(ModuleInstance(), "TIPPIMAGES");
  ASSERT_EQ(list->Count(), 12);
  button->SetImageIndex(4);
  EXPECT_TRUE(button->Glyph().Empty());  // nothing to show without a list
  button->SetImageList(list);
  TBitmap expected;
  list->GetBitmap(4, expected);
  ASSERT_FALSE(button->Glyph().Empty());
  EXPECT_EQ(button->Glyph().Pixel(16, 16), expected.Pixel(16, 16));
  button->SetHotImageIndex(5);
  EXPECT_EQ(button->Glyph().Pixel(3, 3), expected.Pixel(3, 3));  // nothing visible yet
  // Mouse in: hot picture and hand; out: normal picture and the default cursor.
  SendMessageA(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  TBitmap hot;
  list->GetBitmap(5, hot);
  EXPECT_EQ(button->Glyph().Pixel(3, 3), hot.Pixel(3, 3));
  EXPECT_EQ(button->Cursor(), crHandPoint);
  SendMessageA(button->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button->Glyph().Pixel(3, 3), expected.Pixel(3, 3));
  EXPECT_EQ(button->Cursor(), crDefault);
  // An index the list does not hold: no picture, no error.
  button->SetImageIndex(99);
  EXPECT_EQ(button->Glyph().Pixel(16, 16), button->Glyph().TransparentColor());
  // The list goes first: no dangling reference, no picture.
  button->SetImageIndex(0);
  delete list;
  EXPECT_EQ(button->GetImageList(), nullptr);
  EXPECT_TRUE(button->Glyph().Empty());
}

// Owner-drawn lists keep their items in a cache while they have no window; order,
// objects and selection must come through the window's making and remaking.
TEST(ListControls, ItemsAndSelectionSurviveTheWindowsComingAndGoing) {
  auto form = std::unique_ptr<TForm>(CreateForm<TForm>(nullptr));
  int a = 0, b = 0, c = 0;
  struct Expected {
    std::vector<std::string> texts;
    std::vector<void *> objects;
  };
  auto check = [](auto &list, const Expected &e, const char *stage) {
    SCOPED_TRACE(stage);
    ASSERT_EQ(list.Count(), int(e.texts.size()));
    for (int i = 0; i < list.Count(); ++i) {
      EXPECT_EQ(list.Items(i), e.texts[size_t(i)]);
      EXPECT_EQ(list.Objects(i), e.objects[size_t(i)]);
    }
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_THROW(list.Items(3), ERangeError);
    EXPECT_THROW(list.Objects(-2), ERangeError);
  };
  auto exercise = [&](auto *list, const Expected &e) {
    list->AddItem("beta", &b);
    list->AddItem("Alpha", &a);
    list->AddItem("Gamma", &c);
    list->SetItemIndex(1);
    check(*list, e, "cached");
    list->SetParent(form.get());
    list->HandleNeeded();
    ASSERT_TRUE(list->HandleAllocated());
    check(*list, e, "in the window");
    list->RecreateWnd();
    check(*list, e, "in a new window");
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
  };
  auto *sorted = new TCustomListBox(form.get());
  sorted->SetSorted(true);
  exercise(sorted, {{"Alpha", "beta", "Gamma"}, {&a, &b, &c}});
  exercise(new TCustomListBox(form.get()), {{"beta", "Alpha", "Gamma"}, {&b, &a, &c}});
  exercise(new TCustomComboBox(form.get()), {{"beta", "Alpha", "Gamma"}, {&b, &a, &c}});
}

// Items appended in the order AnsiCompareText gives must be the order the sorted list's
// own search assumes: an item added later has to land where that order puts it.
TEST(ListControls, AppendedSortedItemsMatchTheListsOwnOrder) {
  auto form = std::unique_ptr<TForm>(CreateForm<TForm>(nullptr));
  auto *list = new TCustomListBox(form.get());
  list->SetSorted(true);
  list->SetParent(form.get());
  list->HandleNeeded();
  std::vector<std::string> names = {"zeta.txt", "[beta]", "Alpha.TXT", "a-b", "a_b", "ab", "\xC4rger.doc",
                                    "arg.doc", "B\xFC" "cher", "Buch", "10.txt", "9.txt", "~tmp"};
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string &a, const std::string &b) { return AnsiCompareText(a, b) < 0; });
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(list->AppendItem(names[i]), int(i));
  for (const char *name : {"alpha.txt", "Aerger.doc", "b\xFC" "cher", "Z", "[a]", "0", "a_c"}) list->AddItem(name);
  ASSERT_EQ(list->Count(), int(names.size()) + 7);
  for (int i = 0; i + 1 < list->Count(); ++i)
    EXPECT_LE(AnsiCompareText(list->Items(i), list->Items(i + 1)), 0) << list->Items(i) << " / " << list->Items(i + 1);
}

TEST(StringList, SortedInsertionTextAndFiles) {
  TStringList list;
  list.Sorted = true;
  EXPECT_EQ(list.Add("beta"), 0);
  EXPECT_EQ(list.Add("Alpha"), 0);
  EXPECT_EQ(list.Add("gamma"), 2);
  EXPECT_EQ(list.Add("BETA"), 2);  // equal texts keep the order they came in
  EXPECT_EQ(list.Text(), "Alpha\r\nbeta\r\nBETA\r\ngamma\r\n");
  TStringList lines;
  lines.SetText("a\nb\r\n\r\nc");
  EXPECT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines.Text(), "a\r\nb\r\n\r\nc\r\n");
  EXPECT_THROW(lines.LoadFromFile("c:\\toolkit_no_such_file.txt"), EFOpenError);
}

TEST(Registry, ReadBoolTakesOnlyDwords) {
  const char *key = "SOFTWARE\\BootlogTests";
  SetUserDword(key, "On", 7);
  SetUserDword(key, "Off", 0);
  SetUserString(key, "Text", "1");
  TRegistry reg;
  reg.RootKey = HKEY_CURRENT_USER;
  ASSERT_TRUE(reg.OpenKey(key, false));
  EXPECT_TRUE(reg.ReadBool("On"));
  EXPECT_FALSE(reg.ReadBool("Off"));
  EXPECT_THROW(reg.ReadBool("Text"), ERegistryException);
  EXPECT_FALSE(reg.ValueExists("Missing"));
  reg.WriteString("Written", "Wert ä");
  std::string written;
  DWORD type = 0;
  EXPECT_TRUE(ReadUserString(key, "Written", written, type));
  EXPECT_EQ(written, "Wert ä");
  EXPECT_EQ(type, DWORD(REG_SZ));
  reg.CloseKey();
  EXPECT_THROW(reg.WriteString("Closed", "x"), ERegistryException);
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

TEST(Paths, RuntimeFunctions) {
  EXPECT_EQ(ExtractFileDrive("C:\\Windows\\System"), "C:");
  EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\dir\\x"), "\\\\server\\share");
  EXPECT_EQ(ExtractFileDrive("relative\\x"), "");
  EXPECT_EQ(ExtractFilePath("C:\\Windows\\win.ini"), "C:\\Windows\\");
  EXPECT_EQ(ExtractFilePath("C:x.txt"), "C:");
  EXPECT_EQ(ExtractFileName("C:\\Windows\\win.ini"), "win.ini");
  EXPECT_EQ(ExtractFileExt("C:\\a.b\\readme"), "");
  EXPECT_EQ(ExtractFileExt("a.exe.txt"), ".txt");
  EXPECT_EQ(LowerCase("ÄBC"), "Äbc");  // only A to Z
  EXPECT_EQ(AnsiLowerCase("ÄBC"), "äbc");
  EXPECT_EQ(AnsiPos("log.bat", "call c:\\log.bat"), 9);
  std::string before = GetCurrentDir();
  EXPECT_THROW(ChDir("c:\\no\\such\\directory"), EInOutError);
  EXPECT_EQ(GetCurrentDir(), before);
}

}  // namespace
