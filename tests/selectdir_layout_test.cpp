// The select-directory dialog as ChooseDirectory shows it: its layout, tab order and
// captions at the screen's resolution.  Works in c:\seldir_test of the prefix; since keys
// and clicks need the foreground, it runs apart from the other programs that use real
// input (the boot-drive lock of the tip's tests).
#include <gtest/gtest.h>

#include "toolkit/Consts.h"
#include "toolkit/Form.h"

#include "support/DialogScript.h"
#include "support/SelectDirFixture.h"
#include "support/TestSupport.h"

namespace {

// --- layout -----------------------------------------------------------------------------

TEST_F(SelectDir, LayoutTabOrderAndCaptionsFollowTheTableAtTheScreensResolution) {
  std::string dir;
  Script script({Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(WindowText(dlg.Handle()), SSelectDirCap);
                   EXPECT_EQ(dlg.ClientWidth(), Scaled(424));
                   EXPECT_EQ(dlg.ClientHeight(), Scaled(255));
                   LONG style = GetWindowLongA(dlg.Handle(), GWL_STYLE);
                   EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
                   EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
                   RECT wr;
                   GetWindowRect(dlg.Handle(), &wr);
                   EXPECT_EQ(wr.left, Screen->Width() / 2 - (wr.right - wr.left) / 2) << "centred";
                   EXPECT_EQ(wr.top, Screen->Height() / 2 - (wr.bottom - wr.top) / 2) << "centred";

                   struct Expect {
                     TControl *c;
                     int l, t, w, h;
                   } table[] = {
                       {dlg.DirEdit, 8, 24, 313, 20},   {dlg.DirLabel, 8, 24, 313, 20},
                       {dlg.DirList, 8, 72, 213, 138},  {dlg.FileList, 232, 72, 185, 93},
                       {dlg.NetButton, 8, 224, 77, 27}, {dlg.OKButton, 172, 224, 77, 27},
                       {dlg.CancelButton, 256, 224, 77, 27}, {dlg.HelpButton, 340, 224, 77, 27},
                   };
                   for (auto &e : table) {
                     EXPECT_EQ(Str(BoundsOf(e.c)), Str(ScaledBounds(e.l, e.t, e.w, e.h))) << e.c->Name;
                     if (e.c->HandleAllocated() && e.c != dlg.DirList) {
                       EXPECT_EQ(Str(WindowBoundsOf(e.c)), Str(BoundsOf(e.c))) << e.c->Name << " window";
                     }
                   }
                   RECT drive = WindowBoundsOf(dlg.DriveList);
                   EXPECT_EQ(drive.left, Scaled(232));
                   EXPECT_EQ(drive.top, Scaled(192));
                   EXPECT_EQ(drive.right, Scaled(417));
                   // Integral height: the list shows whole items only.
                   RECT listClient;
                   GetClientRect(dlg.DirList->Handle(), &listClient);
                   EXPECT_EQ(listClient.bottom % dlg.DirList->ItemHeight(), 0) << listClient.bottom;
                   EXPECT_LE(WindowBoundsOf(dlg.DirList).bottom, Scaled(210));
                   if (Ppi() == 96) {
                     EXPECT_EQ(dlg.DirList->ItemHeight(), 17);
                     EXPECT_EQ(dlg.FileList->ItemHeight(), 13);
                     EXPECT_FALSE(dlg.FileList->ParentFont());
                   } else {
                     // The dialog's scaled font, grey again.
                     EXPECT_EQ(dlg.FileList->Font().Height(), dlg.Font().Height());
                     EXPECT_EQ(dlg.FileList->Font().Name(), dlg.Font().Name());
                     EXPECT_EQ(dlg.Font().Height(), MulDiv(-11, Ppi(), 96));
                   }
                   EXPECT_EQ(dlg.FileList->Font().Color(), TColor(0xFF000011)) << "grey text";
                   EXPECT_EQ(dlg.FileList->Mask(), "*.*");
                   EXPECT_TRUE(dlg.FileList->FileType() == TFileType{ftNormal});
                   EXPECT_EQ(dlg.FileList->FileEdit(), nullptr);
                   EXPECT_EQ(dlg.DriveList->DirList(), nullptr) << "joined only by the dialog";

                   EXPECT_FALSE(dlg.DirEdit->Visible());
                   EXPECT_TRUE(dlg.DirLabel->Visible());
                   EXPECT_FALSE(dlg.NetButton->Visible());
                   EXPECT_EQ(dlg.DefaultButton, dlg.OKButton);
                   EXPECT_EQ(dlg.OKButton->ModalResult, mrOk);
                   EXPECT_EQ(dlg.CancelButton->ModalResult, mrCancel);
                   EXPECT_EQ(dlg.TForm::CancelButton, dlg.CancelButton);
                   EXPECT_EQ(dlg.ActiveControl(), dlg.DirList);
                   EXPECT_EQ(FocusName(), "DirList");
                   EXPECT_EQ(dlg.HelpContext, 1000);

                   std::vector<std::string> order;
                   for (TControl *c : dlg.TabList()) order.push_back(c->Name);
                   EXPECT_EQ(order, (std::vector<std::string>{"DirList", "DirEdit", "DriveList", "NetButton",
                                                              "OKButton", "CancelButton", "FileList",
                                                              "HelpButton"}));
                   // The four captions: labels whose accelerator leads to their control.
                   std::map<std::string, std::string> captions;
                   for (int i = 0; i < dlg.ControlCount(); ++i)
                     if (auto *label = dynamic_cast<TLabel *>(dlg.Controls(i)))
                       captions[label->Caption()] = label->FocusControl() ? label->FocusControl()->Name : "";
                   EXPECT_EQ(captions, (std::map<std::string, std::string>{{SDirNameCap, "DirEdit"},
                                                                         {SDrivesCap, "DriveList"},
                                                                         {SDirsCap, "DirList"},
                                                                         {SFilesCap, "FileList"}}));
                 }),
                 Click(Cancel)});
  EXPECT_FALSE(ChooseDirectory(dir, {}, 1000));
  EXPECT_TRUE(script.Done());
}

}  // namespace
