// Test programs run the module's code in-process: the program's own instance holds the
// module's resources, and the module's load step runs before the tests.
#include <gtest/gtest.h>

#include "module/ModuleLifetime.h"
#include "template/ModulState.h"

int main(int argc, char **argv) {
  ModulLoad(GetModuleHandleA(nullptr));
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  ModulUnload(false);
  return rc;
}
