// The trend window opens beside the main window where the screen has room,
// and covers as little of it as it can where the screen has none.

#include "ui/beside_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(BesidePlacement, BesideWhereThereIsRoomElseAtTheRoomierEdge) {
  const QSize wanted(760, 420);
  const int least = 560;
  const struct {
    const char* what;
    QRect screen;
    QRect main;
    QRect expected;
  } cases[] = {
      {"1920x1080, main centred: right of it, as wide as the room",
       {0, 0, 1920, 1040},
       {606, 260, 708, 520},
       {1314, 260, 606, 420}},
      {"2560x1440: the whole wanted width",
       {0, 0, 2560, 1400},
       {926, 440, 708, 520},
       {1634, 440, 760, 420}},
      {"main at the right edge: to its left",
       {0, 0, 1920, 1040},
       {1200, 100, 708, 520},
       {440, 100, 760, 420}},
      {"1366x768: no side has room, the screen's right edge",
       {0, 0, 1366, 728},
       {329, 104, 708, 520},
       {806, 104, 560, 420}},
      {"1024x768, main low: moved up onto the screen",
       {0, 0, 1024, 728},
       {158, 400, 708, 520},
       {464, 308, 560, 420}},
      {"on a second screen", {1920, 0, 1280, 1024}, {1920, 0, 708, 520}, {2628, 0, 572, 420}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect place = PlaceBeside(c.main, wanted, least, c.screen);
    EXPECT_EQ(place, c.expected);
    EXPECT_TRUE(c.screen.contains(place));
  }
}

}  // namespace
