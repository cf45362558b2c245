#pragma once

#include <QProxyStyle>

class QTabBar;

// The seven tab captions of the main window, the debug tab's included, fit the fixed width
// only with less blank space beside each caption than the styles leave; otherwise the tab bar
// scrolls and "Ethernet" moves out of view.
class CompactTabStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Gives the tab bar this style, owned by the bar.
  static void apply(QTabBar& bar);

  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;

 private:
  CompactTabStyle() = default;
};
