#include "ui/value_field.h"

#include <QLineEdit>

namespace {

constexpr QChar kMaskBlank = u'_';

// Qt's "0" is the optional digit (its "9" demands one); "#" also takes a sign.
QString qtMask(int code) {
  switch (code) {
    case 0:
      return QStringLiteral("#000;_");
    case 1:
      return QStringLiteral("#00.0;_");
    case 2:
      return QStringLiteral("#0.00;_");
    case 3:
      return QStringLiteral("#.000;_");
    default:
      return QString();
  }
}

}  // namespace

std::string ValueFieldCharacters(const QLineEdit& field) {
  QString text = field.displayText();
  if (!field.inputMask().isEmpty()) text.replace(kMaskBlank, u' ');
  return text.toStdString();
}

void ShowValueField(QLineEdit& field, const device::ValueFieldText& text) {
  const QString mask = qtMask(text.mask);
  if (field.inputMask() != mask) field.setInputMask(mask);
  field.setText(QString::fromStdString(text.text));
}
