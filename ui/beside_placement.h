#pragma once

#include <QRect>

// Where a window of `wanted` size opens beside `mainFrame` on `screen` (all
// frame rectangles): on the side with more room, as wide as that room allows
// down to `leastWidth`. Where neither side has room even for that, it lies at
// the screen's edge on the roomier side, `leastWidth` wide, so that it covers
// as little of the main window as it can. Its top is the main window's, moved
// up as far as it must to stay on the screen.
QRect PlaceBeside(const QRect& mainFrame, const QSize& wanted, int leastWidth, const QRect& screen);
