#include "ui/debug_dump_observer.h"

namespace {

void show(QLineEdit* field, const modbus::ByteString& hexDump) {
  if (field)
    field->setText(QString::fromLatin1(hexDump.data(), static_cast<qsizetype>(hexDump.size())));
}

}  // namespace

void DebugDumpObserver::QueryDumpChanged(const modbus::ByteString& hexDump) {
  show(query_, hexDump);
}

void DebugDumpObserver::AnswerDumpChanged(const modbus::ByteString& hexDump) {
  show(answer_, hexDump);
}
