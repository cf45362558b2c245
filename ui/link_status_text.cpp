#include "ui/link_status_text.h"

namespace {

#ifdef __linux__
// Serial devices belong to group dialout; a user outside it may not open them.
constexpr bool kGroupHint = true;
#else
constexpr bool kGroupHint = false;
#endif

}  // namespace

QString PortFailureText(const modbus::PortFailure& failure, const QString& devicePath) {
  using Kind = modbus::PortFailureKind;
  const QString path =
      failure.devicePath.empty() ? devicePath : QString::fromStdString(failure.devicePath);
  switch (failure.kind) {
    case Kind::kNotFound:
      return QStringLiteral("Нет такого устройства: %1").arg(path);
    case Kind::kNoPermission:
      return kGroupHint ? QStringLiteral("Нет доступа к %1: добавьте пользователя в группу dialout")
                              .arg(path)
                        : QStringLiteral("Нет доступа к %1").arg(path);
    case Kind::kHeldByOther:
      return QStringLiteral("Порт занят другой программой: %1").arg(path);
    case Kind::kNotSerial:
      return QStringLiteral("Не последовательный порт: %1").arg(path);
    case Kind::kSettingsRefused:
      return QStringLiteral("Драйвер не принял настройки порта: %1").arg(path);
    case Kind::kWentAway:
      return QStringLiteral("Порт пропал: %1").arg(path);
    case Kind::kOther:
      return failure.systemError != 0
                 ? QStringLiteral("Ошибка порта %1 (код %2)").arg(path).arg(failure.systemError)
                 : QStringLiteral("Ошибка порта %1").arg(path);
    case Kind::kNone:
      break;
  }
  // A port that cannot tell why.
  return QStringLiteral("Не могу открыть порт %1").arg(path);
}

QString LinkOutcomeText(const device::LinkOutcome& outcome, const QString& devicePath) {
  using Kind = device::LinkOutcome::Kind;
  switch (outcome.kind) {
    case Kind::kAnswered:
      return {};
    case Kind::kPortFailed:
      return PortFailureText(outcome.port, devicePath);
    case Kind::kNoReply:
      return QStringLiteral("Прибор не отвечает");
    case Kind::kExceptionReply:
      return outcome.exceptionCode != 0 ? QStringLiteral("Прибор отклонил запрос (исключение %1)")
                                              .arg(QString::number(outcome.exceptionCode, 16)
                                                       .rightJustified(2, QLatin1Char('0'))
                                                       .toUpper())
                                        : QStringLiteral("Прибор отклонил запрос");
    case Kind::kBadReply:
      return QStringLiteral("Искажённый ответ прибора");
  }
  return {};
}
