#include "ui/connection_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <optional>

#include "ui/connection_settings.h"
#include "ui/named_controls.h"
#include "ui/profile_file.h"
#include "ui/wrapped_button.h"

ConnectionPanel::ConnectionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel1"));
  setFixedWidth(kWidth);

  QStringList ports;
  for (int n = 1; n <= kPortCount; ++n) ports << QStringLiteral("COM%1").arg(n);

  auto* layout = new QVBoxLayout(this);
  // Two pixels at the sides: "Быстрый обмен" needs nearly all of the width.
  constexpr int kSide = 2;
  layout->setContentsMargins(kSide, 6, kSide, 4);
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

  layout->addSpacing(4);
  layout->addWidget(new QLabel(QStringLiteral("Адрес прибора:")));
  instrumentAddress_ =
      namedEdit(QStringLiteral("EditAdres"), QString::number(device::kInstrumentAddress));
  // Digits only, never above the highest address; the C locale's digits
  // whatever the system's, so no group separator slips in.
  auto* range = new QIntValidator(device::kInstrumentAddress, device::kHighestInstrumentAddress,
                                  instrumentAddress_);
  range->setLocale(QLocale::c());
  instrumentAddress_->setValidator(range);
  instrumentAddress_->setToolTip(
      QStringLiteral("0 — любой прибор на линии; 1…247 — прибор с этим сетевым адресом"));
  layout->addWidget(instrumentAddress_);
  fastExchange_ =
      namedCheckBox(QStringLiteral("CheckBoxFastExchange"), QStringLiteral("Быстрый обмен"));
  fastExchange_->setToolTip(QStringLiteral("Ответ принимается, как только он пришёл целиком"));
  layout->addWidget(fastExchange_);
  scanLine_ = new WrappedButton(QStringLiteral("Сканировать линию"));
  scanLine_->setObjectName(QStringLiteral("BitBtnScanLine"));
  scanLine_->setMaximumWidth(kWidth - 2 * kSide);
  layout->addWidget(scanLine_);

  layout->addSpacing(8);
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

int ConnectionPanel::instrumentAddress() const {
  bool ok = false;
  const int address = instrumentAddress_->text().toInt(&ok);
  return ok && address >= device::kInstrumentAddress && address <= device::kHighestInstrumentAddress
             ? address
             : -1;
}

void ConnectionPanel::setInstrumentAddress(int address) {
  instrumentAddress_->setText(QString::number(address));
}

device::ConnectionSelection ConnectionPanel::selection() const {
  return {port_->currentIndex(), baud_->currentIndex(), instrumentAddress(),
          fastExchange_->isChecked() ? modbus::ExchangeMode::kFast
                                     : modbus::ExchangeMode::kWindowTiming};
}

void ConnectionPanel::restoreSettings(ProfileFile& file) {
  std::optional<ProfileFile::WriteError> refused;
  const auto read = [&](void (*step)(ProfileFile&, int*)) {
    int value = 0;
    try {
      step(file, &value);
    } catch (const ProfileFile::WriteError& error) {
      if (!refused) refused = error;
    }
    return value;
  };
  port_->setCurrentIndex(read(&connection_settings::restorePortNumber) - 1);
  baud_->setCurrentIndex(read(&connection_settings::restoreBaudIndex));
  setInstrumentAddress(read(&connection_settings::restoreAddress));
  fastExchange_->setChecked(connection_settings::fastExchange(file));
  if (refused) throw *refused;
}

void ConnectionPanel::storeSettings(ProfileFile& file) const {
  connection_settings::storePortNumber(file, port_->currentIndex() + 1);
  connection_settings::storeBaudIndex(file, baud_->currentIndex());
  if (const int address = instrumentAddress(); address >= 0)
    connection_settings::storeAddress(file, address);
  connection_settings::storeFastExchange(file, fastExchange_->isChecked());
}
