#include "ethernet_page.h"

EthernetPage::EthernetPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet7"));
}
