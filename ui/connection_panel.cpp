#include "ui/connection_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/named_controls.h"

ConnectionPanel::ConnectionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel1"));
  setFixedWidth(kWidth);

  QStringList ports;
  for (int n = 1; n <= kPortCount; ++n) ports << QStringLiteral("COM%1").arg(n);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 6, 4, 4);
  layout->setSpacing(3);

  layout->addWidget(new QLabel(QStringLiteral("Тип соединения:")));
  layout->addWidget(selectionList(QStringLiteral("ComboBox1"),
                                  {QStringLiteral("RS-485"), QStringLiteral("Ethernet")}));
  layout->addSpacing(4);
  layout->addWidget(new QLabel(QStringLiteral("Порт:")));
  port_ = selectionList(QStringLiteral("ComboBoxPort"), ports);
  layout->addWidget(port_);
  layout->addWidget(new QLabel(QStringLiteral("Скорость:")));
  baud_ = selectionList(QStringLiteral("ComboBoxBaudSys"),
                        {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                         QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("57600"),
                         QStringLiteral("115200")});
  layout->addWidget(baud_);
  autoFind_ = namedCheckBox(QStringLiteral("CheckBoxAutoFind"), QStringLiteral("Автопоиск"));
  layout->addWidget(autoFind_);
  find_ = namedButton(QStringLiteral("BitBtnFindPrib"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Найти"));
  layout->addWidget(find_);

  layout->addSpacing(12);
  layout->addWidget(new QLabel(QStringLiteral("Адрес IP ULM5:")));
  address_ = namedEdit(QStringLiteral("Edit1"));
  layout->addWidget(address_);
  layout->addWidget(new QLabel(QStringLiteral("Порт ULM5:")));
  layout->addWidget(namedEdit(QStringLiteral("Edit2"), QStringLiteral("5000")));
  layout->addWidget(namedButton(QStringLiteral("BitBtn1"), QStyle::SP_DialogYesButton,
                                QStringLiteral("Подключиться")));
  layout->addWidget(namedButton(QStringLiteral("BitBtn6"), QStyle::SP_DialogNoButton,
                                QStringLiteral("Отключиться")));
  layout->addStretch(1);
}
