#include "ui/differences_table.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableWidget>

QTableWidget* DifferencesTable(QAnyStringView name, const QString& firstHeader,
                               const QString& secondHeader, const std::vector<DifferenceRow>& rows,
                               QWidget* parent) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), 3, parent);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels({QStringLiteral("Поле"), firstHeader, secondHeader});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < 3; ++column)
    table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  for (size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i);
    // Texts from a file or the instrument: items never interpret them as markup.
    table->setItem(row, 0, new QTableWidgetItem(rows[i].label));
    table->setItem(row, 1, new QTableWidgetItem(rows[i].first));
    table->setItem(row, 2, new QTableWidgetItem(rows[i].second));
  }
  return table;
}
