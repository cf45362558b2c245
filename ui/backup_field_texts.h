#pragma once

#include <QString>
#include <vector>

#include "backup/backup_fields.h"
#include "backup/configuration.h"

// A field of a configuration as the window names and shows it: "Уставка 2:
// зона возврата", "(4..20)mA", a coefficient with the locale's decimal
// separator as the page "Калибровка" shows it.
QString FieldLabel(const backup::BackupField& field);

// One line of a table of differences: the control, its state in two configurations.
struct DifferenceRow {
  const backup::BackupField* field;
  QString label;
  QString first;
  QString second;
};

// The lines of a field that differs between two configurations: one per
// control of a byte of flags that differs, else one. Where the texts agree
// and the bytes do not, each side shows its bytes too.
std::vector<DifferenceRow> DifferenceRows(const backup::BackupField& field,
                                          const backup::Configuration& first,
                                          const backup::Configuration& second);
