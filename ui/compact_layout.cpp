#include "ui/compact_layout.h"

#include <QGridLayout>
#include <QLabel>

#include "ui/named_controls.h"

QGridLayout* compactGrid(QWidget* owner, const QMargins& margins, int rowSpacing,
                         int columnSpacing) {
  auto* grid = new QGridLayout(owner);
  grid->setContentsMargins(margins);
  grid->setHorizontalSpacing(columnSpacing);
  grid->setVerticalSpacing(rowSpacing);
  return grid;
}

void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* field) {
  auto* label = plainLabel(caption, field->parentWidget());
  label->setBuddy(field);
  grid->addWidget(label, row, 0);
  grid->addWidget(field, row, 1);
}
