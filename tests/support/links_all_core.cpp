// Links every core library into one test executable, so that the no-Qt guard covers
// the libraries that have no tests of their own yet.

#include <gtest/gtest.h>

#include "geometry/transform.h"

TEST(Layering, CoreLibrariesLinkWithoutQt) {
  const koltar::LCTransform t;
  EXPECT_EQ(koltar::MapToDevice(t, koltar::MapPoint{2, -3}), (koltar::DevicePoint{2, 3}));
}
