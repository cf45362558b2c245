#pragma once

#include <QMargins>
#include <QString>

class QGridLayout;
class QWidget;

// A grid of captions and fields laid out on the owner; every page chooses its own margins and
// row spacing so that its groups fit the window.
QGridLayout* compactGrid(QWidget* owner, const QMargins& margins, int rowSpacing,
                         int columnSpacing = 6);

// A caption in column 0, naming its field in column 1.
void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* field);
