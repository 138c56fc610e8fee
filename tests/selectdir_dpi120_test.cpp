// The select-directory dialog's tests on a screen at 120 dots per inch: this program runs
// in the prefix set up so, and every expected position is the table's, scaled.
#include "selectdir_layout_test.cpp"
#include "selectdir_opening_test.cpp"
#include "selectdir_options_test.cpp"
#include "selectdir_walking_test.cpp"

TEST(SelectDirScreen, RunsAt120DotsPerInch) { EXPECT_EQ(Screen->PixelsPerInch(), 120); }
