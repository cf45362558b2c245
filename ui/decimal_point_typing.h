#pragma once

#include <QObject>

class QLineEdit;

// A decimal separator typed into a value field whose mask holds a point: the characters typed
// before it are right-aligned against the point, zero-filled and the sign kept in front, and
// typing goes on in the fraction ("12,5" and "12.5" under "#00.0" both give 012.5). The mask
// alone drops "," and takes "." as a jump past the point, so the digits stay where they were
// typed and the value goes out ten or a hundred times too large (125._) or is refused (12_.5).
class DecimalPointTyping : public QObject {
  Q_OBJECT

 public:
  // Watches the field's key presses; owned by the field.
  explicit DecimalPointTyping(QLineEdit& field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit& field_;
};
