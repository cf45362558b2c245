#include "ui/compact_tab_style.h"

#include <QTabBar>
#include <algorithm>

namespace {

// Blank space beside a tab's caption, both sides together, in pixels as the window's size is.
constexpr int kTabCaptionSpace = 12;

}  // namespace

void CompactTabStyle::apply(QTabBar& bar) {
  auto* style = new CompactTabStyle;
  style->setParent(&bar);
  bar.setStyle(style);
}

int CompactTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (metric == PM_TabBarTabHSpace) {
    const int styled = QProxyStyle::pixelMetric(metric, option, widget);
    return std::min(styled, kTabCaptionSpace);
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}
