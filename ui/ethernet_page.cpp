#include "ethernet_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/compact_layout.h"
#include "ui/named_controls.h"

namespace {

constexpr QMargins kGroupMargins(6, 6, 6, 6);
constexpr int kRowSpacing = 4;

void addAddressRows(QGridLayout* grid, QLineEdit* address, QLineEdit* port) {
  address->setMaximumWidth(160);
  port->setMaximumWidth(80);
  addRow(grid, 0, QStringLiteral("Адрес IP ULM5:"), address);
  addRow(grid, 1, QStringLiteral("Порт ULM5:"), port);
}

}  // namespace

EthernetPage::EthernetPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet7"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(8);
  layout->addWidget(buildConnection());
  layout->addWidget(buildSettings());
  layout->addStretch(1);
}

QString EthernetPage::defaultAddress() { return QStringLiteral("192.168.1.100"); }

QString EthernetPage::defaultPort() { return QStringLiteral("5000"); }

QGroupBox* EthernetPage::buildConnection() {
  auto* group = new QGroupBox(QStringLiteral(" Подключение к ULM5"), this);
  group->setObjectName(QStringLiteral("GroupBoxIPConnect"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);
  addAddressRows(grid, namedEdit("EditIP", defaultAddress(), group),
                 namedEdit("EditIPPort", defaultPort(), group));

  auto* status = staticText("StaticTextStatusIP", QString(), group);
  status->setMinimumHeight(status->fontMetrics().height() + 4);
  grid->addWidget(status, 2, 0, 1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(namedButton("BitBtnIPConnect", QStyle::SP_DialogYesButton,
                                 QStringLiteral("Подключиться к ULM5"), group));
  buttons->addWidget(namedButton("BitBtnIPDisconnect", QStyle::SP_DialogNoButton,
                                 QStringLiteral("Отключиться от ULM5"), group));
  buttons->addStretch(1);
  grid->addLayout(buttons, 3, 0, 1, 3);

  auto* write = namedButton("ButtonIPWrite", QStyle::SP_ArrowRight,
                            QStringLiteral("Записать в прибор"), group);
  grid->addWidget(write, 4, 0);
  // Whatever the peer sends is shown as it came, so it must never be read as rich text.
  auto* received = staticText("StaticTextIPRead", QString(), group);
  received->setFrameShape(QFrame::StyledPanel);
  received->setFrameShadow(QFrame::Sunken);
  received->setMinimumHeight(received->fontMetrics().height() + 4);
  received->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(received, 5, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}

QGroupBox* EthernetPage::buildSettings() {
  auto* group = new QGroupBox(QStringLiteral(" Настройка "), this);
  group->setObjectName(QStringLiteral("GroupBoxIPNastr"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);
  // Edit1 and Edit2 are the names of the connection panel's fields, so these take their own.
  addAddressRows(grid, namedEdit("EditNastrIP", QStringLiteral("Edit1"), group),
                 namedEdit("EditNastrIPPort", QStringLiteral("Edit2"), group));

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(namedButton("BitBtnWriteNastrIP", QStyle::SP_DialogSaveButton,
                                 QStringLiteral("Записать в прибор"), group));
  buttons->addWidget(namedButton("BitBtnReadNastrIP", QStyle::SP_BrowserReload,
                                 QStringLiteral("Считать из прибора"), group));
  buttons->addStretch(1);
  grid->addLayout(buttons, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}
