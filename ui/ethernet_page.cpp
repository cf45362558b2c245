#include "ethernet_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLineEdit* edit(const char* name, const QString& text, QWidget* parent) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(QLatin1String(name));
  return field;
}

QPushButton* button(const char* name, QStyle::StandardPixmap glyph, const QString& caption,
                    QWidget* parent) {
  auto* result = new QPushButton(parent->style()->standardIcon(glyph), caption, parent);
  result->setObjectName(QLatin1String(name));
  return result;
}

QGridLayout* groupGrid(QGroupBox* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  return grid;
}

void addAddressRows(QGridLayout* grid, QLineEdit* address, QLineEdit* port) {
  auto* addressLabel = plainLabel(QStringLiteral("Адрес IP ULM5:"), address->parentWidget());
  addressLabel->setBuddy(address);
  auto* portLabel = plainLabel(QStringLiteral("Порт ULM5:"), port->parentWidget());
  portLabel->setBuddy(port);
  address->setMaximumWidth(160);
  port->setMaximumWidth(80);
  grid->addWidget(addressLabel, 0, 0);
  grid->addWidget(address, 0, 1);
  grid->addWidget(portLabel, 1, 0);
  grid->addWidget(port, 1, 1);
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
  auto* grid = groupGrid(group);
  addAddressRows(grid, edit("EditIP", defaultAddress(), group),
                 edit("EditIPPort", defaultPort(), group));

  auto* status = plainLabel(QString(), group);
  status->setObjectName(QStringLiteral("StaticTextStatusIP"));
  status->setMinimumHeight(status->fontMetrics().height() + 4);
  grid->addWidget(status, 2, 0, 1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(button("BitBtnIPConnect", QStyle::SP_DialogYesButton,
                            QStringLiteral("Подключиться к ULM5"), group));
  buttons->addWidget(button("BitBtnIPDisconnect", QStyle::SP_DialogNoButton,
                            QStringLiteral("Отключиться от ULM5"), group));
  buttons->addStretch(1);
  grid->addLayout(buttons, 3, 0, 1, 3);

  auto* write =
      button("ButtonIPWrite", QStyle::SP_ArrowRight, QStringLiteral("Записать в прибор"), group);
  grid->addWidget(write, 4, 0);
  // Whatever the peer sends is shown as it came, so it must never be read as rich text.
  auto* received = plainLabel(QString(), group);
  received->setObjectName(QStringLiteral("StaticTextIPRead"));
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
  auto* grid = groupGrid(group);
  // Edit1 and Edit2 are the names of the connection panel's fields, so these take their own.
  addAddressRows(grid, edit("EditNastrIP", QStringLiteral("Edit1"), group),
                 edit("EditNastrIPPort", QStringLiteral("Edit2"), group));

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(button("BitBtnWriteNastrIP", QStyle::SP_DialogSaveButton,
                            QStringLiteral("Записать в прибор"), group));
  buttons->addWidget(button("BitBtnReadNastrIP", QStyle::SP_BrowserReload,
                            QStringLiteral("Считать из прибора"), group));
  buttons->addStretch(1);
  grid->addLayout(buttons, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}
