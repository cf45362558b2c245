#include "ui/panel_discovery_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

PanelDiscoveryView::PanelDiscoveryView(ConnectionPanel& panel, QTimer& timerIzmer,
                                       QWidget& identificationBox, const bool& windowClosed,
                                       Identified identified)
    : panel_(panel),
      timerIzmer_(timerIzmer),
      code_(identificationBox.findChild<QLabel*>(QStringLiteral("statictextPribCode"))),
      version_(identificationBox.findChild<QLabel*>(QStringLiteral("statictextPribVer"))),
      date_(identificationBox.findChild<QLabel*>(QStringLiteral("statictextDatePrib"))),
      serial_(identificationBox.findChild<QLabel*>(QStringLiteral("statictextPribSerial"))),
      windowClosed_(windowClosed),
      identified_(std::move(identified)) {}

void PanelDiscoveryView::selectBaudIndex(int index) {
  // Repainted while the next exchange pumps events, so the search visibly steps.
  panel_.ComboBoxBaudSys()->setCurrentIndex(index);
}

bool PanelDiscoveryView::autoFindChecked() const { return panel_.CheckBoxAutoFind()->isChecked(); }

void PanelDiscoveryView::setFindButtonEnabled(bool enabled) {
  panel_.BitBtnFindPrib()->setEnabled(enabled);
}

void PanelDiscoveryView::stopMeasurementTimer() { timerIzmer_.stop(); }

void PanelDiscoveryView::showIdentification(const device::IdentificationTexts& texts) {
  code_->setText(QString::fromStdString(texts.type));
  version_->setText(QString::fromStdString(texts.version));
  date_->setText(QString::fromStdString(texts.date));
  serial_->setText(QString::fromStdString(texts.serial));
  if (identified_) identified_(texts);
}
