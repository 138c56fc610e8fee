// The tip window as the module builds it from its form resources: the template's layout
// with the tip's controls added, the LOG.BAT text filled in, and no message on the way.
#include <gtest/gtest.h>

#include <memory>

#include "bootlog/BootlogForm.h"
#include "template/ModulState.h"
#include "support/TestSupport.h"

TEST(TipWindow, CreatesFromFormResources) {
  SavedFile autoexec("c:\\AUTOEXEC.BAT");
  WriteTextFile("c:\\AUTOEXEC.BAT", "@echo off\r\n");
  BoxRecorder boxes;
  ResetModuleState();
  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  std::unique_ptr<TFormBootlog> form;
  try {
    form.reset(CreateForm<TFormBootlog>(nullptr));
  } catch (const std::exception &e) {
    FAIL() << e.what();
  }
  for (auto &t : boxes.Texts()) ADD_FAILURE() << "box: " << t;
  EXPECT_TRUE(ModulTipValid);
  EXPECT_EQ(form->T263_Memo->Lines().ToVector(), LogBatText());
  EXPECT_EQ(form->T263_Memo->Parent(), form.get());
  EXPECT_EQ(form->HotSpeedButtonOK->Parent(), form.get());
  EXPECT_TRUE(form->HotSpeedButtonOK->Enabled());
}
