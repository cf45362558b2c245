#include "ui/operation_names.h"

#include <QLatin1StringView>

namespace {

struct Named {
  QLatin1StringView button;
  const char* operation;
};

constexpr Named kOperations[] = {
    {QLatin1StringView("BitBtnFindPrib"), "поиск прибора"},
    {QLatin1StringView("BitBtnScanLine"), "сканирование линии"},
    {QLatin1StringView("buttonReadNastrPrib"), "чтение общих настроек"},
    {QLatin1StringView("BitBtnWriteNastrPrib"), "запись общих настроек"},
    {QLatin1StringView("btnReadDataTime"), "чтение часов прибора"},
    {QLatin1StringView("btnWriteDataTime"), "установка часов прибора"},
    {QLatin1StringView("BitBtnIzmerStart"), "проверка порта"},
    {QLatin1StringView("BitBtnReadNatrUst"), "чтение уставок"},
    {QLatin1StringView("BitBtnWriteNatrUst"), "запись уставок"},
    {QLatin1StringView("BitBtnReadKoeff"), "чтение коэффициентов"},
    {QLatin1StringView("BitBtnWriteKoeff"), "запись коэффициентов"},
    {QLatin1StringView("BitBtnCalibPoint"), "калибровка точки"},
    {QLatin1StringView("BitBtnSetCurrent"), "установка тока"},
    {QLatin1StringView("BitBtnReadArh"), "чтение архива"},
    {QLatin1StringView("BitBtnSaveConfig"), "сохранение конфигурации"},
    {QLatin1StringView("BitBtnLoadConfig"), "загрузка конфигурации"},
    {QLatin1StringView("BitBtnCompareConfig"), "сравнение с файлом"},
    {QLatin1StringView("btnObmen"), "обмен на странице «Отладка»"},
};

}  // namespace

QString OperationName(const QString& buttonName) {
  for (const Named& named : kOperations) {
    if (named.button == buttonName) return QString::fromUtf8(named.operation);
  }
  return {};
}

QString PollOperationName() { return QStringLiteral("измерение"); }
