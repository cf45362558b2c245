#pragma once

#include <QPushButton>

// A push button whose caption breaks at its blanks where its maximum width
// is too narrow for it on one line (a long caption in the narrow connection
// panel): the button is higher instead of cutting the caption. text() stays
// the caption as given.
class WrappedButton : public QPushButton {
  Q_OBJECT

 public:
  explicit WrappedButton(const QString& caption, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption() const;
  QSize sizeFor(const QString& caption) const;
};
