#include "ui/decimal_point_typing.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

// What an empty position of the value masks shows, and what setText takes for one.
constexpr QChar kMaskBlank = u'_';
constexpr QChar kEmptyPosition = u' ';

bool isDecimalSeparator(const QString& typed) {
  return typed == QLatin1String(",") || typed == QLatin1String(".");
}

bool isSign(QChar c) { return c == u'-' || c == u'+'; }

}  // namespace

DecimalPointTyping::DecimalPointTyping(QLineEdit& field) : QObject(&field), field_(field) {
  field.installEventFilter(this);
}

bool DecimalPointTyping::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &field_ || event->type() != QEvent::KeyPress) return false;
  if (!isDecimalSeparator(static_cast<QKeyEvent*>(event)->text())) return false;
  if (field_.isReadOnly() || field_.inputMask().isEmpty()) return false;
  // The point is the masks' only literal; code 0 has none and keeps the mask's own handling.
  const QString shown = field_.displayText();
  const qsizetype point = shown.indexOf(u'.');
  if (point < 0) return false;
  const bool selected = field_.hasSelectedText();
  const qsizetype start = selected ? field_.selectionStart() : field_.cursorPosition();
  const qsizetype end = selected ? field_.selectionEnd() : start;
  // Typed in the fraction: nothing is left to align.
  if (start > point) return false;

  QString typed;
  for (qsizetype i = 0; i < start; ++i) {
    if (shown[i] != kMaskBlank) typed += shown[i];
  }
  QString sign;
  if (!typed.isEmpty() && isSign(typed.front())) {
    sign = typed.front();
    typed.remove(0, 1);
  }
  // What was typed over the integer positions replaces them; a selection reaching into the
  // fraction is typed over as well.
  QString text = sign + typed.rightJustified(point - sign.size(), u'0') + u'.';
  for (qsizetype i = point + 1; i < shown.size(); ++i) {
    text += i < end || shown[i] == kMaskBlank ? kEmptyPosition : shown[i];
  }
  field_.selectAll();
  field_.insert(text);
  field_.setCursorPosition(static_cast<int>(point + 1));
  return true;
}
