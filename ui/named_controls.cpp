#include "ui/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* staticText(QAnyStringView name, const QString& text, QWidget* parent) {
  auto* label = plainLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* namedEdit(QAnyStringView name, const QString& text, QWidget* parent) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(name);
  return field;
}

QCheckBox* namedCheckBox(QAnyStringView name, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(name);
  return check;
}

QPushButton* namedButton(QAnyStringView name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QPushButton* namedButton(QAnyStringView name, QStyle::StandardPixmap glyph, const QString& caption,
                         QWidget* parent) {
  auto* button = namedButton(name, caption, parent);
  button->setIcon(button->style()->standardIcon(glyph));
  return button;
}

QComboBox* selectionList(QAnyStringView name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  list->setCurrentIndex(-1);
  return list;
}
