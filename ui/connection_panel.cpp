#include "ui/connection_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QComboBox* list(const QString& name, const QStringList& items) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  combo->addItems(items);
  combo->setCurrentIndex(-1);
  return combo;
}

QPushButton* button(const QString& name, const QString& caption, QStyle::StandardPixmap glyph) {
  auto* b = new QPushButton(caption);
  b->setObjectName(name);
  b->setIcon(b->style()->standardIcon(glyph));
  return b;
}

}  // namespace

ConnectionPanel::ConnectionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel1"));
  setFixedWidth(kWidth);

  QStringList ports;
  for (int n = 1; n <= kPortCount; ++n) ports << QStringLiteral("COM%1").arg(n);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 6, 4, 4);
  layout->setSpacing(3);

  layout->addWidget(new QLabel(QStringLiteral("Тип соединения:")));
  layout->addWidget(
      list(QStringLiteral("ComboBox1"), {QStringLiteral("RS-485"), QStringLiteral("Ethernet")}));
  layout->addSpacing(4);
  layout->addWidget(new QLabel(QStringLiteral("Порт:")));
  port_ = list(QStringLiteral("ComboBoxPort"), ports);
  layout->addWidget(port_);
  layout->addWidget(new QLabel(QStringLiteral("Скорость:")));
  baud_ = list(QStringLiteral("ComboBoxBaudSys"),
               {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
                QStringLiteral("115200")});
  layout->addWidget(baud_);
  autoFind_ = new QCheckBox(QStringLiteral("Автопоиск"));
  autoFind_->setObjectName(QStringLiteral("CheckBoxAutoFind"));
  layout->addWidget(autoFind_);
  find_ = button(QStringLiteral("BitBtnFindPrib"), QStringLiteral("Найти"),
                 QStyle::SP_FileDialogContentsView);
  layout->addWidget(find_);

  layout->addSpacing(12);
  layout->addWidget(new QLabel(QStringLiteral("Адрес IP ULM5:")));
  address_ = new QLineEdit;
  address_->setObjectName(QStringLiteral("Edit1"));
  layout->addWidget(address_);
  layout->addWidget(new QLabel(QStringLiteral("Порт ULM5:")));
  auto* tcpPort = new QLineEdit(QStringLiteral("5000"));
  tcpPort->setObjectName(QStringLiteral("Edit2"));
  layout->addWidget(tcpPort);
  layout->addWidget(button(QStringLiteral("BitBtn1"), QStringLiteral("Подключиться"),
                           QStyle::SP_DialogYesButton));
  layout->addWidget(
      button(QStringLiteral("BitBtn6"), QStringLiteral("Отключиться"), QStyle::SP_DialogNoButton));
  layout->addStretch(1);
}
