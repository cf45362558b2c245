#include "ui/log_failure_text.h"

namespace {

QString pathText(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

// The system's words (the locale's code page on Windows).
QString reason(const std::error_code& error) { return QString::fromLocal8Bit(error.message()); }

}  // namespace

QString LogFailureText(const oplog::LogFailure& failure) {
  using Kind = oplog::LogFailure::Kind;
  switch (failure.kind) {
    case Kind::kNoPlace:
      break;
    case Kind::kNoFolder:
      return QStringLiteral("Журнал не записан: не удалось создать папку %1 (%2)")
          .arg(pathText(failure.path), reason(failure.error));
    case Kind::kNoFile:
      return QStringLiteral("Журнал не записан: %1 (%2)")
          .arg(pathText(failure.path), reason(failure.error));
  }
  return QStringLiteral("Журнал не записан: не задана папка для него");
}
