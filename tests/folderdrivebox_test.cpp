// The drive combo box on real windows: switching drives with the directory list that
// follows, the items by kind of drive, a change the box cannot make undone, the item
// height.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "folderselect/DirectoryListBox.h"
#include "folderselect/DirectorySearch.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/FileListBox.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"
#include "folderselect/PathLabel.h"
#include "support/TestSupport.h"
#include "toolkit/Form.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"

#include "support/FolderListsFixture.h"
#include "support/TestSupport.h"

namespace {

// --- drive combo box --------------------------------------------------------------------

TEST_F(FolderLists, DriveSwitchFromTheComboBox) {
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *combo = Make<TDriveComboBox>(400);
  EXPECT_EQ(combo->DriveLetter(), 'c');
  int c = -1, z = -1;
  for (int i = 0; i < combo->Count(); ++i) {
    std::string text = combo->Items(i);
    if (text.compare(0, 3, "c: ") == 0) c = i;
    if (text.compare(0, 3, "z: ") == 0) z = i;
  }
  ASSERT_GE(c, 0);
  ASSERT_GE(z, 0);
  EXPECT_EQ(combo->ItemIndex(), c);
  EXPECT_EQ(combo->Items(c), "c: " + DriveVolumeLabel('c'));
  EXPECT_EQ(combo->Objects(c), combo->FixedBitmap.get());
  combo->SetDirList(dirs);
  std::vector<std::string> events;
  combo->OnClick = [&](TComponent *) { events.push_back("click"); };
  combo->OnChange = [&](TComponent *) { events.push_back("change"); };
  // The user picks z: as the system reports it.
  SendMessageA(combo->Handle(), CB_SETCURSEL, WPARAM(z), 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(combo->Handle()));
  EXPECT_EQ(events, (Names{"click", "change"}));
  EXPECT_EQ(combo->DriveLetter(), 'z');
  EXPECT_EQ(UpCase(dirs->DriveLetter()), 'Z');
  EXPECT_EQ(UpCase(GetCurrentDir()[0]), 'Z');
  // Back through the directory list: the combo box follows, one change only.
  events.clear();
  dirs->SetCurrentDirectory(kRoot + "\\Alpha");
  EXPECT_EQ(combo->DriveLetter(), 'c');
  EXPECT_EQ(combo->ItemIndex(), c);
  EXPECT_EQ(events, (Names{"change"}));
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
  combo->SetDriveLetter('C');
  EXPECT_EQ(events.size(), 1u) << "the same drive in the other case changes nothing";
}

// Drives the machine does not have, for the item texts and pictures.
DWORD FakeDrives() { return 1u << 0 | 1u << 1 | 1u << 2 | 1u << 3 | 1u << 4 | 1u << 17 | 1u << 23; }
UINT FakeType(const char *root) {
  switch (root[0]) {
    case 'a': return DRIVE_REMOVABLE;
    case 'b': return DRIVE_NO_ROOT_DIR;
    case 'c': return DRIVE_FIXED;
    case 'd': return DRIVE_CDROM;
    case 'e': return DRIVE_UNKNOWN;
    case 'r': return DRIVE_RAMDISK;
    case 'x': return DRIVE_REMOTE;
    default: return DRIVE_UNKNOWN;
  }
}
std::string FakeLabel(char d) {
  std::string label = UpCase(d) == 'C' ? "System" : UpCase(d) == 'R' ? "Ram" : "";
  return "[" + (d >= 'a' ? AnsiLowerCase(label) : AnsiUpperCase(label)) + "]";
}
std::string FakeNetwork(char d) { return d >= 'a' ? "\\\\server\\share" : "\\\\SERVER\\SHARE"; }
const TDriveQueries kFake = {FakeDrives, FakeType, FakeLabel, FakeNetwork};

class FakeDrivesScope {
 public:
  explicit FakeDrivesScope(const TDriveQueries *queries = &kFake) : previous_(SetDriveQueries(queries)) {}
  ~FakeDrivesScope() { SetDriveQueries(previous_); }

 private:
  const TDriveQueries *previous_;
};

std::vector<std::string> ComboItems(const TCustomComboBox &combo) {
  std::vector<std::string> v;
  for (int i = 0; i < combo.Count(); ++i) v.push_back(combo.Items(i));
  return v;
}

TEST_F(FolderLists, DriveItemsByKindAndCase) {
  FakeDrivesScope fake;
  auto *combo = Make<TDriveComboBox>(400);
  EXPECT_EQ(ComboItems(*combo), (Names{"a:", "c: [system]", "d: []", "r: [ram]", "x: \\\\server\\share"}));
  TBitmap *pictures[] = {combo->FloppyBitmap.get(), combo->FixedBitmap.get(), combo->CDROMBitmap.get(),
                         combo->RAMBitmap.get(), combo->NetworkBitmap.get()};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(combo->Objects(i), pictures[i]) << "item " << i;
  EXPECT_EQ(combo->ItemIndex(), 1);

  int changes = 0;
  combo->OnChange = [&](TComponent *) { ++changes; };
  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(ComboItems(*combo), (Names{"A:", "C: [SYSTEM]", "D: []", "R: [RAM]", "X: \\\\SERVER\\SHARE"}));
  EXPECT_EQ(combo->DriveLetter(), 'C');
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
  combo->SetDriveLetter('c');
  EXPECT_EQ(changes, 1);

  // No drive: nothing selected, the directory list hears of it.
  auto *dirs = Make<TDirectoryListBox>(10);
  combo->SetDirList(dirs);
  int dirChanges = 0;
  dirs->OnChange = [&](TComponent *) { ++dirChanges; };
  combo->SetDriveLetter('\0');
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->DriveLetter(), '\0');
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(dirChanges, 1);
  combo->SetDirList(nullptr);
  // A letter without an item is kept, the selection stays; a digit stays a digit.
  combo->SetDriveLetter('c');
  combo->SetDriveLetter('q');
  EXPECT_EQ(combo->DriveLetter(), 'Q');
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetTextCase(tcLowerCase);
  combo->SetDriveLetter('1');
  EXPECT_EQ(combo->DriveLetter(), '1');
}

// c: and a CD-ROM drive m: without a disc: the machine has no m:, so entering it fails as
// it does for an empty drive.
DWORD NoDiscDrives() { return 1u << 2 | 1u << 12; }
UINT NoDiscType(const char *root) { return root[0] == 'm' ? DRIVE_CDROM : DRIVE_FIXED; }
const TDriveQueries kNoDisc = {NoDiscDrives, NoDiscType, FakeLabel, FakeNetwork};

TEST_F(FolderLists, AFailedDriveChangePutsTheComboBoxBack) {
  ASSERT_EQ(GetLogicalDrives() & (1u << 12), 0u) << "m: must be absent";
  FakeDrivesScope fake(&kNoDisc);
  BoxRecorder boxes;
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *combo = Make<TDriveComboBox>(400);
  combo->SetDirList(dirs);
  ASSERT_EQ(ComboItems(*combo), (Names{"c: [system]", "m: []"}));
  int changes = 0, dirChanges = 0;
  combo->OnChange = [&](TComponent *) { ++changes; };
  dirs->OnChange = [&](TComponent *) { ++dirChanges; };
  // The select-directory dialog's way: a box that is not linked, whose OnChange moves
  // the list.
  auto *unlinked = Make<TDriveComboBox>(400);
  unlinked->OnChange = [&](TComponent *) { dirs->SetDriveLetter(unlinked->DriveLetter()); };
  auto picksM = [&](TDriveComboBox *box) {
    SendMessageA(box->Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(box->Handle()));
  };
  struct Route {
    const char *name;
    std::function<void()> attempt;
    size_t boxes;  // the user's pick is reported in the standard error box
  } routes[] = {
      {"user's pick", [&] { picksM(combo); }, 1},
      {"user's pick in an unlinked box", [&] { picksM(unlinked); }, 1},
      {"DriveLetter", [&] { EXPECT_THROW(combo->SetDriveLetter('m'), EInOutError); }, 0},
      {"linked directory list", [&] { EXPECT_THROW(dirs->SetCurrentDirectory("M:\\"), EInOutError); }, 0},
  };
  // Each route twice: after a failure the next attempt must try the drive again.
  for (int round = 0; round < 2; ++round) {
    for (const Route &r : routes) {
      size_t before = boxes.boxes.size();
      r.attempt();
      EXPECT_EQ(boxes.boxes.size() - before, r.boxes) << r.name << " round " << round;
      EXPECT_EQ(combo->DriveLetter(), 'c') << r.name << " round " << round;
      EXPECT_EQ(combo->ItemIndex(), 0) << r.name << " round " << round;
      EXPECT_EQ(unlinked->DriveLetter(), 'c') << r.name << " round " << round;
      EXPECT_EQ(unlinked->ItemIndex(), 0) << r.name << " round " << round;
      EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha") << r.name << " round " << round;
      EXPECT_EQ(GetCurrentDir(), kRoot + "\\Alpha") << r.name << " round " << round;
    }
  }
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(dirChanges, 0);
  // The box is still in step with the list afterwards.
  dirs->SetCurrentDirectory(kRoot + "\\Empty");
  EXPECT_EQ(combo->DriveLetter(), 'c');
  EXPECT_EQ(dirChanges, 1);
}

TEST_F(FolderLists, DriveItemHeightFollowsTheFontButNotBelowThePictures) {
  FakeDrivesScope fake;
  auto *combo = Make<TDriveComboBox>(400);
  combo->Font().SetHeight(-6);
  EXPECT_EQ(combo->ItemHeight(), 11);
  EXPECT_EQ(combo->Count(), 5) << "refilled after the font change";
  combo->Font().SetHeight(-30);
  EXPECT_EQ(combo->ItemHeight(), FontItemHeight(combo->Font()));
  EXPECT_GT(combo->ItemHeight(), 30);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), combo->ItemHeight());
  // The selected item's picture is transparent on the highlight too.
  combo->Font().SetHeight(-11);
  ItemPicture p = PaintItem(*combo, 1, true, 150, combo->ItemHeight());
  EXPECT_EQ(p.At(2, combo->ItemHeight() / 2 + 5), ColorToRGB(clHighlight));
  EXPECT_EQ(FirstInk(p, ColorToRGB(clHighlight)), 2 + FirstOpaqueColumn(*combo->FixedBitmap));
}


}  // namespace
