// The drive list on the drives of the test prefix: a floppy drive a:, the fixed c:
// labelled "Bootplatte", a CD-ROM d: labelled "Daten CD", a RAM disk r: and a network
// drive x:, as the test script declares them to Wine.
#include <gtest/gtest.h>

#include <cstdlib>

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

namespace {

class FolderDrives : public testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("BOOTLOG_WINE_DRIVES")) GTEST_SKIP() << "the prefix has no test drives";
    form_.reset(CreateForm<TForm>(nullptr));
    combo_ = new TDriveComboBox(form_.get());
    combo_->SetBounds(0, 0, 200, 20);
    combo_->SetParent(form_.get());
  }
  std::string ItemFor(char letter) {
    for (int i = 0; i < combo_->Count(); ++i)
      if (UpCase(combo_->Items(i)[0]) == UpCase(letter)) return combo_->Items(i);
    return "<none>";
  }
  void *PictureFor(char letter) {
    for (int i = 0; i < combo_->Count(); ++i)
      if (UpCase(combo_->Items(i)[0]) == UpCase(letter)) return combo_->Objects(i);
    return nullptr;
  }
  std::unique_ptr<TForm> form_;
  TDriveComboBox *combo_ = nullptr;
};

TEST_F(FolderDrives, EveryKindWithItsPictureAndName) {
  EXPECT_EQ(ItemFor('a'), "a:");  // a removable drive is not asked for its volume
  EXPECT_EQ(ItemFor('c'), "c: [bootplatte]");
  EXPECT_EQ(ItemFor('d'), "d: [daten cd]");
  EXPECT_EQ(ItemFor('r'), "r: []");
  EXPECT_EQ(ItemFor('x').substr(0, 3), "x: ");  // not redirected by the network: its label
  EXPECT_EQ(PictureFor('a'), combo_->FloppyBitmap.get());
  EXPECT_EQ(PictureFor('c'), combo_->FixedBitmap.get());
  EXPECT_EQ(PictureFor('d'), combo_->CDROMBitmap.get());
  EXPECT_EQ(PictureFor('r'), combo_->RAMBitmap.get());
  EXPECT_EQ(PictureFor('x'), combo_->NetworkBitmap.get());
  combo_->SetTextCase(tcUpperCase);
  EXPECT_EQ(ItemFor('C'), "C: [BOOTPLATTE]");
  EXPECT_EQ(ItemFor('D'), "D: [DATEN CD]");
}

TEST_F(FolderDrives, ChoosingADriveMovesTheLinkedDirectoryList) {
  std::string saved = GetCurrentDir();
  auto *dirs = new TDirectoryListBox(form_.get());
  dirs->SetBounds(0, 30, 200, 100);
  dirs->SetParent(form_.get());
  combo_->SetDirList(dirs);
  combo_->SetDriveLetter('d');
  EXPECT_EQ(UpCase(dirs->DriveLetter()), 'D');
  EXPECT_EQ(UpCase(GetCurrentDir()[0]), 'D');
  combo_->SetDriveLetter('c');
  EXPECT_EQ(UpCase(dirs->DriveLetter()), 'C');
  ChDir(saved);
}

}  // namespace
