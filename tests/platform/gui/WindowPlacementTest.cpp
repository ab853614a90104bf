#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

// Window frames (outer top-left, size of the contents) as the program wants them and as
// they are placed, on the screens of small notebooks; the window system's title bar
// and borders as a common window manager draws them.
TEST(WindowPlacement, AWindowWithItsTitleBarAndBordersLiesOnTheScreen)
{
  const QRect wide(0, 0, 1280, 800), small(0, 0, 1024, 600), panel(0, 30, 1280, 770);
  const QMargins decoration(1, 24, 1, 4);
  const struct {
    const char* what;
    QRect available, wanted;
    QSize minimum;
    QRect placed;
  } cases[] = {
      {"third cascaded ledger, as wide as the screen", wide, {10, 218, 1280, 560}, {}, {0, 212, 1278, 560}},
      {"monthly trial balance's default size", wide, {154, 255, 900, 560}, {}, {154, 212, 900, 560}},
      {"first-run help window", small, {364, 40, 620, 560}, {}, {364, 12, 620, 560}},
      {"a size kept from a larger screen", small, {0, 0, 1400, 900}, {}, {0, 0, 1022, 572}},
      {"never below the window's minimum", small, {0, 0, 1400, 900}, {1100, 300}, {0, 0, 1100, 572}},
      {"a remembered frame past the bottom right", panel, {1200, 700, 400, 300}, {}, {878, 472, 400, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(WindowPlacement::fittedWindowFrame(c.wanted, decoration, c.available, c.minimum), c.placed);
  }
  // Without a screen the frame stays as it is.
  EXPECT_EQ(WindowPlacement::fittedWindowFrame({10, 20, 3000, 2000}, decoration, QRect()), QRect(10, 20, 3000, 2000));
}

}  // namespace
}  // namespace kivo
