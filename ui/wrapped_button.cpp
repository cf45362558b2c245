#include "ui/wrapped_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrappedButton::WrappedButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

QSize WrappedButton::sizeFor(const QString& caption) const {
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text = caption;
  return style()->sizeFromContents(QStyle::CT_PushButton, &option,
                                   fontMetrics().size(Qt::TextShowMnemonic, caption), this);
}

// The caption as shown: on one line where the maximum width allows it.
QString WrappedButton::caption() const {
  if (sizeFor(text()).width() <= maximumWidth()) return text();
  QString wrapped = text();
  wrapped.replace(QLatin1Char(' '), QLatin1Char('\n'));
  return wrapped;
}

QSize WrappedButton::sizeHint() const { return sizeFor(caption()).boundedTo(maximumSize()); }

void WrappedButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text = caption();
  painter.drawControl(QStyle::CE_PushButton, option);
}
