#pragma once

class QTextDocument;
class QWidget;

// Printing of a document, where the program was built with Qt's print support
// (ui/printing/ picks the file): the Windows build's Qt has none, and there
// the record is offered as a PDF file only.

// True when printing was built in and the system knows of a printer.
bool printersAvailable();

enum class PrintOutcome { kPrinted, kCancelled, kFailed };

// Asks for the printer and its settings, then prints.
PrintOutcome printDocument(const QTextDocument& document, QWidget* parent);
