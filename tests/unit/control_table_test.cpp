#include <gtest/gtest.h>

#include "ui/controls.h"

namespace xiuhe {
namespace {

TEST(ControlTable, HoldsTheFiftySixControlsInStackingOrder) {
  ASSERT_EQ(kControls.size(), 56u);
  for (int i = 0; i < kControlCount; ++i) EXPECT_EQ(Index(kControls[i].id), i);
}

}  // namespace
}  // namespace xiuhe
