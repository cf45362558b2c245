#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include "ui/record_printing.h"

bool printersAvailable() { return !QPrinterInfo::availablePrinters().isEmpty(); }

PrintOutcome printDocument(const QTextDocument& document, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(document.metaInformation(QTextDocument::DocumentTitle));
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Печать протокола калибровки"));
  if (dialog.exec() != QDialog::Accepted) return PrintOutcome::kCancelled;
  if (!printer.isValid()) return PrintOutcome::kFailed;
  document.print(&printer);
  return printer.printerState() == QPrinter::Error ? PrintOutcome::kFailed : PrintOutcome::kPrinted;
}
