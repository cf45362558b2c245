#include "ui/beside_placement.h"

#include <algorithm>

QRect PlaceBeside(const QRect& mainFrame, const QSize& wanted, int leastWidth,
                  const QRect& screen) {
  const int roomRight = screen.right() - mainFrame.right();
  const int roomLeft = mainFrame.left() - screen.left();
  const bool toRight = roomRight >= roomLeft;
  const int room = std::max(roomRight, roomLeft);
  const int width = std::min(wanted.width(), std::max(room, leastWidth));
  const int height = std::min(wanted.height(), screen.height());
  int left = 0;
  if (room >= width)
    left = toRight ? mainFrame.right() + 1 : mainFrame.left() - width;
  else
    left = toRight ? screen.right() + 1 - width : screen.left();
  const int top = std::clamp(mainFrame.top(), screen.top(), screen.bottom() + 1 - height);
  return {left, top, width, height};
}
