#pragma once

#include <QAnyStringView>
#include <QString>
#include <QStringList>
#include <QStyle>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls created with their system name as objectName. A null parent leaves the control to the
// layout that takes it.

// Label texts may come from the instrument, so they never go through rich text.
QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);
QLabel* staticText(QAnyStringView name, const QString& text = QString(), QWidget* parent = nullptr);

QLineEdit* namedEdit(QAnyStringView name, const QString& text = QString(),
                     QWidget* parent = nullptr);
QCheckBox* namedCheckBox(QAnyStringView name, const QString& caption, QWidget* parent = nullptr);

QPushButton* namedButton(QAnyStringView name, const QString& caption, QWidget* parent = nullptr);
QPushButton* namedButton(QAnyStringView name, QStyle::StandardPixmap glyph, const QString& caption,
                         QWidget* parent = nullptr);

// Nothing is chosen until the user or the instrument chooses.
QComboBox* selectionList(QAnyStringView name, const QStringList& items, QWidget* parent = nullptr);
