#include "view/print_preview.h"

#include <gtest/gtest.h>

namespace koltar {
namespace {

TEST(PrintPreview, FrameSizedByThePageAndCentred) {
  // A portrait page too tall for the screen: its height decides, then the width.
  EXPECT_EQ(PreviewFrameOf(4800, 6600, 1024, 768, 18), (PreviewFrameGeometry{276, 50, 472, 668}));
  // A landscape page is still limited by the height here (924 x 672 would not fit).
  EXPECT_EQ(PreviewFrameOf(6600, 4800, 1024, 768, 18), (PreviewFrameGeometry{65, 50, 893, 668}));
  // A wide strip takes the whole width and sits in the middle of the height.
  EXPECT_EQ(PreviewFrameOf(10000, 2000, 1024, 768, 18), (PreviewFrameGeometry{50, 283, 924, 202}));
  // An odd caption height: its half rounds toward zero.
  EXPECT_EQ(PreviewFrameOf(4800, 6600, 1280, 1024, 23).top, (901 - 924) / 2 + 11 + 50);
  // A page without size counts as square rather than dividing by zero.
  EXPECT_EQ(PreviewFrameOf(0, 0, 1024, 768, 18), (PreviewFrameGeometry{187, 50, 650, 668}));
}

}  // namespace
}  // namespace koltar
