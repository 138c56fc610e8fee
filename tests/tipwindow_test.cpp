// The tip window as the module builds it from its form resources.
#include <gtest/gtest.h>

#include "bootlog/Unit1.h"
#include "module/ModulState.h"
#include "support/TestSupport.h"

TEST(TipWindow, CreatesFromFormResources) {
  BoxRecorder boxes;
  ResetModuleState();
  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  TFormBootlog *form = nullptr;
  try {
    form = CreateForm<TFormBootlog>(nullptr);
  } catch (const std::exception &e) {
    FAIL() << e.what();
  }
  for (auto &t : boxes.Texts()) ADD_FAILURE() << "box: " << t;
  ASSERT_NE(form, nullptr);
  delete form;
}
