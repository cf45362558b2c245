#pragma once

#include <QString>
#include <string>

#include "device/link_outcome.h"

class ElidedLabel;
class QAbstractButton;
class QFrame;
class QLabel;
class QStatusBar;

// The main window's status bar as the link's state: the port and the device
// it stands for, the instrument found, and either the operation under way or
// what went wrong last (in red); at its right end "Журнал", the log of writes.
class LinkStatusBar {
 public:
  explicit LinkStatusBar(QStatusBar& bar);

  // "COM1 → /dev/ttyUSB0".
  static QString portTextOf(int portNumber, const QString& devicePath);
  void showPort(int portNumber, const QString& devicePath);
  // After "Найти": type and serial number.
  void showInstrument(const QString& type, const QString& serial);
  void showOperation(const QString& operation);
  // The outcome's cause, or nothing when it went well. A device that has
  // answered and cannot be found now has gone away (pulled out between two
  // exchanges, while the port was closed), and is said to.
  void showOutcome(const device::LinkOutcome& outcome);
  // A notice of the window's own (a click turned away while the link was busy).
  void showNotice(const QString& notice);
  // A notice after what the state shows already (the log of writes failed
  // after the operation's own trouble).
  void addNotice(const QString& notice);
  void clearState();

  QAbstractButton* journalButton() const;

  QString portText() const;
  QString instrumentText() const;
  QString stateText() const;

 private:
  void showState(const QString& text, bool trouble);

  QLabel* port_;
  QFrame* instrumentSeparator_;
  QLabel* instrument_;
  ElidedLabel* state_;
  QAbstractButton* journal_;
  QString devicePath_;
  std::string answered_;  // the device of the last request answered
};
