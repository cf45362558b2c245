#pragma once

#include <QAnyStringView>
#include <QString>
#include <vector>

#include "ui/backup_field_texts.h"

class QTableWidget;
class QWidget;

// A read-only table of differences: "Поле" and the two states of each row,
// under the given headers.
QTableWidget* DifferencesTable(QAnyStringView name, const QString& firstHeader,
                               const QString& secondHeader, const std::vector<DifferenceRow>& rows,
                               QWidget* parent);
