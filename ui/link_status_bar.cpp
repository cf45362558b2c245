#include "ui/link_status_bar.h"

#include <QLabel>
#include <QStatusBar>

#include "ui/elided_label.h"
#include "ui/link_status_text.h"
#include "ui/named_controls.h"

LinkStatusBar::LinkStatusBar(QStatusBar& bar)
    : port_(staticText("StatusBarPort")),
      instrument_(staticText("StatusBarInstrument")),
      state_(new ElidedLabel) {
  state_->setObjectName(QStringLiteral("StatusBarState"));
  bar.addWidget(port_);
  bar.addWidget(instrument_);
  bar.addWidget(state_, 1);
  instrument_->hide();
}

void LinkStatusBar::showPort(int portNumber, const QString& devicePath) {
  devicePath_ = devicePath;
  port_->setText(QStringLiteral("COM%1 → %2").arg(portNumber).arg(devicePath));
}

void LinkStatusBar::showInstrument(const QString& type, const QString& serial) {
  instrument_->setText(QStringLiteral("%1 № %2").arg(type, serial));
  instrument_->show();
}

void LinkStatusBar::showOperation(const QString& operation) {
  state_->setFullText(QStringLiteral("Идёт: %1").arg(operation));
}

void LinkStatusBar::showOutcome(const device::LinkOutcome& outcome) {
  state_->setFullText(LinkOutcomeText(outcome, devicePath_));
}

void LinkStatusBar::showNotice(const QString& notice) { state_->setFullText(notice); }

void LinkStatusBar::clearState() { state_->setFullText(QString()); }

QString LinkStatusBar::portText() const { return port_->text(); }

QString LinkStatusBar::instrumentText() const {
  return instrument_->isHidden() ? QString() : instrument_->text();
}

QString LinkStatusBar::stateText() const { return state_->fullText(); }
