#include "ui/message_box_display.h"

#include <QMessageBox>

#include "ui/application_title.h"

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
             const std::string& text) {
  QMessageBox box(icon, caption, QString::fromStdString(text), QMessageBox::Ok, parent);
  // Texts may carry bytes from the instrument or a peer: never rich text.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void MessageBoxDisplay::error(const std::string& text) {
  showBox(parent_, QMessageBox::Critical, QString::fromUtf8(device::kErrorCaption), text);
}

void MessageBoxDisplay::confirmation(const std::string& text) {
  showBox(parent_, QMessageBox::NoIcon, QString::fromUtf8(device::kConfirmationCaption), text);
}

void MessageBoxDisplay::exception(const std::string& text) {
  showBox(parent_, QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text);
}
