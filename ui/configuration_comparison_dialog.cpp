#include "ui/configuration_comparison_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/differences_table.h"
#include "ui/named_controls.h"

ConfigurationComparisonDialog::ConfigurationComparisonDialog(const QString& heading,
                                                             const std::vector<DifferenceRow>& rows,
                                                             QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FormConfigCompare"));
  setWindowTitle(QStringLiteral("Сравнение с файлом"));
  resize(600, 420);
  auto* layout = new QVBoxLayout(this);
  auto* label = staticText(QStringLiteral("StaticTextConfigFile"), heading, this);
  label->setWordWrap(true);
  layout->addWidget(label);
  layout->addWidget(
      DifferencesTable(QStringLiteral("StringGridConfigCompare"), QStringLiteral("В файле"),
                       QStringLiteral("В приборе"), rows, this),
      1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}
