#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class QTextDocument;

namespace device {
class CalibrationRecord;
}

// A date and time as the record writes them: "05.03.2024 14:07:09", with the
// system's time separator.
QString recordTimeText(const QDateTime& at);

// The calibration record as a document to save or print: the instrument as
// "Найти" showed it, the PC's date and time `now` with its offset from UTC,
// the engineer, the coefficients as last read and as last written, and every
// calibration command with its value and outcome. Every text goes in as plain
// text, whatever characters it holds.
std::unique_ptr<QTextDocument> calibrationRecordDocument(const device::CalibrationRecord& record,
                                                         const QString& engineer,
                                                         const QDateTime& now);

// The document as an A4 PDF file, written whole or not at all: false when the
// file cannot be written.
bool writeCalibrationRecordPdf(const QTextDocument& document, const QString& path);
