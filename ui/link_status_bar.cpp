#include "ui/link_status_bar.h"

#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include "ui/elided_label.h"
#include "ui/link_status_text.h"
#include "ui/named_controls.h"

namespace {

const QColor kTroubleColor(170, 0, 0);

// Flat, so that it fits the status bar's height.
QToolButton* newJournalButton() {
  auto* button = new QToolButton;
  button->setObjectName(QStringLiteral("BitBtnJournal"));
  button->setText(QStringLiteral("Журнал"));
  button->setToolTip(QStringLiteral("Журнал записей в приборы"));
  button->setAutoRaise(true);
  return button;
}

QFrame* separator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

LinkStatusBar::LinkStatusBar(QStatusBar& bar)
    : port_(staticText("StatusBarPort")),
      instrumentSeparator_(separator()),
      instrument_(staticText("StatusBarInstrument")),
      state_(new ElidedLabel),
      journal_(newJournalButton()) {
  state_->setObjectName(QStringLiteral("StatusBarState"));
  bar.addWidget(port_);
  bar.addWidget(instrumentSeparator_);
  bar.addWidget(instrument_);
  bar.addWidget(separator());
  bar.addWidget(state_, 1);
  bar.addPermanentWidget(journal_);
  instrumentSeparator_->hide();
  instrument_->hide();
}

void LinkStatusBar::showState(const QString& text, bool trouble) {
  QPalette palette = state_->palette();
  palette.setColor(QPalette::WindowText,
                   trouble ? kTroubleColor : port_->palette().color(QPalette::WindowText));
  state_->setPalette(palette);
  state_->setFullText(text);
}

QString LinkStatusBar::portTextOf(int portNumber, const QString& devicePath) {
  return QStringLiteral("COM%1 → %2").arg(portNumber).arg(devicePath);
}

void LinkStatusBar::showPort(int portNumber, const QString& devicePath) {
  devicePath_ = devicePath;
  port_->setText(portTextOf(portNumber, devicePath));
}

void LinkStatusBar::showInstrument(const QString& type, const QString& serial) {
  instrument_->setText(QStringLiteral("%1 № %2").arg(type, serial));
  instrumentSeparator_->show();
  instrument_->show();
}

void LinkStatusBar::showOperation(const QString& operation) {
  showState(QStringLiteral("Идёт: %1").arg(operation), false);
}

void LinkStatusBar::showOutcome(const device::LinkOutcome& outcome) {
  using Kind = modbus::PortFailureKind;
  if (outcome.kind == device::LinkOutcome::Kind::kAnswered) answered_ = devicePath_.toStdString();
  device::LinkOutcome shown = outcome;
  if (outcome.kind == device::LinkOutcome::Kind::kPortFailed &&
      outcome.port.kind == Kind::kNotFound && !answered_.empty() &&
      outcome.port.devicePath == answered_)
    shown.port.kind = Kind::kWentAway;
  showState(LinkOutcomeText(shown, devicePath_), true);
}

void LinkStatusBar::showNotice(const QString& notice) { showState(notice, true); }

void LinkStatusBar::addNotice(const QString& notice) {
  const QString shown = stateText();
  showNotice(shown.isEmpty() ? notice : shown + QStringLiteral("; ") + notice);
}

void LinkStatusBar::clearState() { showState(QString(), false); }

QAbstractButton* LinkStatusBar::journalButton() const { return journal_; }

QString LinkStatusBar::portText() const { return port_->text(); }

QString LinkStatusBar::instrumentText() const {
  return instrument_->isHidden() ? QString() : instrument_->text();
}

QString LinkStatusBar::stateText() const { return state_->fullText(); }
