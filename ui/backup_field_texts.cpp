#include "ui/backup_field_texts.h"

#include <QLocale>
#include <array>
#include <cctype>
#include <string_view>

#include "backup/backup_file.h"

namespace {

using json = nlohmann::ordered_json;

struct Named {
  std::string_view key;
  const char* label;
};

// The window's words for the members of a backup, by group.
constexpr Named kGeneral[] = {
    {"address", "Адрес в сети"},           {"speed", "Скорость"},
    {"protocol", "Тип протокола"},         {"inputType", "Тип входного сигнала"},
    {"filterPeriod", "Период фильтрации"}, {"archivePeriod", "Период архивирования"},
    {"switches", "Флажки функций"},        {"reserved", "Резервный байт общих настроек"},
};
constexpr Named kScale[] = {
    {"keptByte", "Байт регистра 2"},        {"decimalPoint", "Положение запятой"},
    {"measuringStart", "Начало измерений"}, {"measuringEnd", "Конец измерений"},
    {"barGraphStart", "Начало барграфа"},   {"barGraphEnd", "Конец барграфа"},
};
constexpr Named kSetpoint[] = {
    {"value", "значение"},
    {"zone", "зона возврата"},
    {"flags", "флажки"},
    {"reserved", "резервный байт"},
};
constexpr Named kCoefficients[] = {
    {"outputCurrent", "К-т выходного тока"},
    {"inputCurrent", "К-т входного тока"},
    {"range100mV", "К-т 100мВ"},
    {"range1V", "К-т 1В"},
    {"resistance", "К-т сопротивления"},
    {"coldJunction", "К-т температуры ХС"},
};
// The check boxes and lists that share a byte of flags.
constexpr Named kFlags[] = {
    {"squareRoot", "Функция корнеизвлечения"},
    {"coldJunction", "Компенсация ХС"},
    {"scaling", "Масштабирование"},
    {"outputCurrent", "Выходной ток"},
    {"enabled", "включение"},
    {"type", "тип"},
    {"kind", "вид"},
    {"relayStart", "начальное состояние реле"},
    {"relayOnBreak", "состояние реле при обрыве"},
};

// The items of a setpoint's lists, as the page "Уставки" shows them.
struct ListItems {
  std::string_view key;
  std::array<const char*, 2> items;
};
constexpr ListItems kSetpointLists[] = {
    {"type", {"Меньше", "Больше"}},
    {"kind", {"Значение", "Скорость"}},
    {"relayStart", {"Разомкнуто", "Замкнуто"}},
    {"relayOnBreak", {"Разомкнуто", "Замкнуто"}},
};

template <size_t N>
QString labelIn(const Named (&table)[N], std::string_view key) {
  for (const Named& named : table) {
    if (named.key == key) return QString::fromUtf8(named.label);
  }
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QString memberLabel(const backup::BackupField& field, std::string_view member) {
  const QString flag = labelIn(kFlags, member);
  const std::string_view group = std::string_view(field.name).substr(0, field.name.find('.'));
  if (group.starts_with("setpoint")) {
    const std::string_view number = group.substr(std::string_view("setpoint").size());
    return QStringLiteral("Уставка %1: %2")
        .arg(QString::fromUtf8(number.data(), static_cast<qsizetype>(number.size())), flag);
  }
  return flag;
}

QString hexOf(const std::optional<modbus::ByteString>& bytes) {
  return bytes ? QString::fromStdString(backup::HexBytes(*bytes)) : QStringLiteral("не считано");
}

QString shown(const backup::BackupField& field, const json& value, std::string_view member) {
  if (value.is_null()) return QStringLiteral("не выбрано");
  if (value.is_boolean())
    return value.get<bool>() ? QStringLiteral("вкл.") : QStringLiteral("выкл.");
  if (value.is_string()) {
    QString text = QString::fromStdString(value.get<std::string>());
    // A backup writes numbers with a point; the page shows them with the locale's separator.
    if (field.block == backup::Block::kCalibration)
      text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
    return text;
  }
  if (value.is_number_integer()) {
    const auto position = value.get<int64_t>();
    const std::vector<std::string>& items = field.itemNames;
    if (position >= 0 && static_cast<size_t>(position) < items.size())
      return QString::fromStdString(items[static_cast<size_t>(position)]);
    for (const ListItems& list : kSetpointLists) {
      if (list.key == member && (position == 0 || position == 1))
        return QString::fromUtf8(list.items[static_cast<size_t>(position)]);
    }
    return QString::number(position);
  }
  return QString::fromStdString(value.dump());
}

}  // namespace

QString FieldLabel(const backup::BackupField& field) {
  const size_t dot = field.name.find('.');
  const std::string_view group = std::string_view(field.name).substr(0, dot);
  std::string_view member = std::string_view(field.name).substr(dot + 1);
  if (group == "general") return labelIn(kGeneral, member);
  if (group == "scale") return labelIn(kScale, member);
  if (group == "coefficients") {
    // "range1V3": the third of its group.
    size_t digits = member.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(member[digits - 1]))) --digits;
    const std::string_view number = member.substr(digits);
    const QString label = labelIn(kCoefficients, member.substr(0, digits));
    if (number.empty()) return label;
    return label + QLatin1Char(' ') +
           QString::fromUtf8(number.data(), static_cast<qsizetype>(number.size()));
  }
  const std::string_view number = group.substr(std::string_view("setpoint").size());
  return QStringLiteral("Уставка %1: %2")
      .arg(QString::fromUtf8(number.data(), static_cast<qsizetype>(number.size())),
           labelIn(kSetpoint, member));
}

std::vector<DifferenceRow> DifferenceRows(const backup::BackupField& field,
                                          const backup::Configuration& first,
                                          const backup::Configuration& second) {
  const auto firstBytes = first.raw.bytes(field.reg(), field.byte(), field.width);
  const auto secondBytes = second.raw.bytes(field.reg(), field.byte(), field.width);
  const QString label = FieldLabel(field);
  if (!field.value) return {{&field, label, hexOf(firstBytes), hexOf(secondBytes)}};
  const json one = field.value(first);
  const json other = field.value(second);
  std::vector<DifferenceRow> rows;
  if (one.is_object() && other.is_object()) {
    for (const auto& [key, state] : one.items()) {
      const json otherState = other.value(key, json());
      if (state == otherState) continue;
      rows.push_back({&field, memberLabel(field, key), shown(field, state, key),
                      shown(field, otherState, key)});
    }
    // Only bits no control carries differ.
    if (rows.empty()) rows.push_back({&field, label, hexOf(firstBytes), hexOf(secondBytes)});
    return rows;
  }
  QString shownFirst = shown(field, one, {});
  QString shownSecond = shown(field, other, {});
  if (shownFirst == shownSecond) {
    shownFirst += QStringLiteral(" (%1)").arg(hexOf(firstBytes));
    shownSecond += QStringLiteral(" (%1)").arg(hexOf(secondBytes));
  }
  return {{&field, label, shownFirst, shownSecond}};
}
