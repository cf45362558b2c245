#include "backup/backup_fields.h"

#include <array>
#include <string_view>
#include <type_traits>
#include <variant>

#include "device/calibration_coefficient_blocks.h"
#include "device/general_settings_block.h"
#include "device/general_settings_lists.h"
#include "device/scaled_value_text.h"
#include "device/setpoint_blocks.h"

namespace backup {

namespace {

using json = nlohmann::ordered_json;
using Getter = std::function<json(const Configuration&)>;
using Setter = std::function<bool(Configuration&, const json&)>;

constexpr int32_t addressOf(int32_t reg) { return 2 * reg; }

// ComboBoxPolZap's items.
constexpr std::array<std::string_view, 4> kPointItems = {"0000", "000.0", "00.00", "0.000"};

// An edit field of the window: its text. `access` gives the text of a
// configuration, const or not.
template <typename Access>
std::pair<Getter, Setter> textField(Access access) {
  return {[access](const Configuration& c) { return json(access(c)); },
          [access](Configuration& c, const json& v) {
            if (!v.is_string()) return false;
            access(c) = v.get<std::string>();
            return true;
          }};
}

// A list of the window: its position, null when nothing is selected (-1).
template <typename Access>
std::pair<Getter, Setter> listField(Access access) {
  return {[access](const Configuration& c) {
            const int index = access(c);
            return index < 0 ? json(nullptr) : json(index);
          },
          [access](Configuration& c, const json& v) {
            if (v.is_null()) {
              access(c) = -1;
              return true;
            }
            if (!v.is_number_integer()) return false;
            access(c) = v.get<int>();
            return true;
          }};
}

// Check boxes and two-item lists that share one byte, as an object by name.
// `access` gives the i-th control's state (a bool or a list position, 0 or
// 1) of a configuration, const or not.
template <typename Access>
std::pair<Getter, Setter> flagsField(std::vector<const char*> names, Access access) {
  return {[names, access](const Configuration& c) {
            json object = json::object();
            for (size_t i = 0; i < names.size(); ++i) {
              std::visit([&](const auto* state) { object[names[i]] = *state; }, access(c, i));
            }
            return object;
          },
          [names, access](Configuration& c, const json& v) {
            if (!v.is_object()) return false;
            for (size_t i = 0; i < names.size(); ++i) {
              const auto found = v.find(names[i]);
              if (found == v.end()) return false;
              const bool ok = std::visit(
                  [&](auto* state) {
                    using State = std::remove_pointer_t<decltype(state)>;
                    const bool kind =
                        std::is_same_v<State, bool>
                            ? found->is_boolean()
                            : found->is_number_unsigned() && found->template get<unsigned>() <= 1;
                    if (kind) *state = found->template get<State>();
                    return kind;
                  },
                  access(c, i));
              if (!ok) return false;
            }
            return true;
          }};
}

// A coefficient edit; a group read short (never, after a complete read)
// shows empty texts.
std::pair<Getter, Setter> coefficientField(size_t group, size_t field, size_t count) {
  return {[group, field](const Configuration& c) {
            const auto& texts = c.coefficients[group];
            return json(field < texts.size() ? texts[field] : std::string());
          },
          [group, field, count](Configuration& c, const json& v) {
            if (!v.is_string()) return false;
            auto& texts = c.coefficients[group];
            if (texts.size() < count) texts.resize(count);
            texts[field] = v.get<std::string>();
            return true;
          }};
}

std::vector<BackupField> build() {
  namespace g = device::general_settings_offset;
  namespace s = device::setpoint_offset;
  std::vector<BackupField> fields;
  Block page = Block::kGeneral;
  const auto add = [&](std::string name, int32_t address, int width,
                       std::pair<Getter, Setter> access) {
    fields.push_back(
        {std::move(name), page, address, width, access.first, access.second, {}, 0xFF, {}});
  };
  const auto reserved = [&](std::string name, int32_t address) {
    fields.push_back({std::move(name), page, address, 1, nullptr, nullptr, {}, 0xFF, {}});
  };

  const auto named = [&](const auto& names) {
    fields.back().itemNames.assign(names.begin(), names.end());
  };
  // A value field of the setpoints page: its text must be one the mask of
  // the page's decimal point takes.
  const auto masked = [&](auto access) {
    fields.back().refusal = [access](const Configuration& c) {
      const std::string& text = access(c);
      const int d = c.setpoints.decimalPoint;
      if (!device::IsDecimalPointCode(d) || device::FitsValueField(text, d)) return std::string();
      return "\"" + text + "\" does not fit the field with the point at \"" +
             std::string(kPointItems[static_cast<size_t>(d)]) + "\" (" +
             std::to_string(device::kValuePositions - d) + " positions before the point, " +
             std::to_string(d) + " after it)";
    };
  };

  const int32_t general = addressOf(device::kGeneralSettingsStart);
  add("general.address", general + g::kAddress, 1,
      textField([](auto& c) -> auto& { return c.general.address; }));
  add("general.speed", general + g::kBaud, 1,
      listField([](auto& c) -> auto& { return c.general.baudIndex; }));
  named(device::kBaudNames);
  add("general.protocol", general + g::kProtocol, 1,
      listField([](auto& c) -> auto& { return c.general.protocolIndex; }));
  named(device::kProtocolNames);
  add("general.inputType", general + g::kInputType, 1,
      listField([](auto& c) -> auto& { return c.general.inputTypeIndex; }));
  named(device::kInputTypeNames);
  add("general.filterPeriod", general + g::kFilterPeriod, 1,
      textField([](auto& c) -> auto& { return c.general.filterPeriod; }));
  add("general.archivePeriod", general + g::kArchivePeriod, 1,
      textField([](auto& c) -> auto& { return c.general.archivePeriod; }));
  add("general.switches", general + g::kSwitches, 1,
      flagsField({"squareRoot", "coldJunction", "scaling", "outputCurrent"}, [](auto& c, size_t i) {
        using Bit = decltype(&c.general.squareRoot);
        const std::array<Bit, 4> bits = {&c.general.squareRoot, &c.general.coldJunction,
                                         &c.general.scaling, &c.general.outputCurrent};
        return std::variant<Bit>(bits[i]);
      }));
  fields.back().writableBits = device::switch_bit::kSquareRoot | device::switch_bit::kColdJunction |
                               device::switch_bit::kScaling | device::switch_bit::kOutputCurrent;
  reserved("general.reserved", general + g::kSwitches + 1);

  page = Block::kSetpoints;
  const int32_t scale = addressOf(device::kScaleStart);
  fields.push_back({"scale.keptByte",
                    page,
                    scale + static_cast<int32_t>(s::kKeptByte),
                    1,
                    [](const Configuration& c) { return json(c.keptByte); },
                    [](Configuration& c, const json& v) {
                      if (!v.is_number_unsigned() || v.get<unsigned>() > 0xFF) return false;
                      c.keptByte = static_cast<uint8_t>(v.get<unsigned>());
                      return true;
                    },
                    {},
                    0xFF,
                    {}});
  add("scale.decimalPoint", scale + static_cast<int32_t>(s::kPoint), 1,
      listField([](auto& c) -> auto& { return c.setpoints.decimalPoint; }));
  named(kPointItems);
  constexpr std::array<const char*, device::kRangeCount> kRanges = {
      "measuringStart", "measuringEnd", "barGraphStart", "barGraphEnd"};
  for (size_t i = 0; i < kRanges.size(); ++i) {
    const auto range = [i](auto& c) -> auto& { return c.setpoints.ranges[i]; };
    add(std::string("scale.") + kRanges[i],
        scale + static_cast<int32_t>(s::kFirstRange + s::kSingleWidth * i), s::kSingleWidth,
        textField(range));
    masked(range);
  }

  for (size_t n = 0; n < device::kSetpointColumns; ++n) {
    const int32_t record =
        addressOf(device::kSetpointBlockStarts[n / device::kSetpointsPerBlock]) +
        static_cast<int32_t>(s::kRecordLength * (n % device::kSetpointsPerBlock));
    const std::string prefix = "setpoint" + std::to_string(n + 1) + ".";
    const auto value = [n](auto& c) -> auto& { return c.setpoints.setpoints[n].value; };
    const auto zone = [n](auto& c) -> auto& { return c.setpoints.setpoints[n].zone; };
    add(prefix + "value", record + static_cast<int32_t>(s::kValue), s::kSingleWidth,
        textField(value));
    masked(value);
    add(prefix + "zone", record + static_cast<int32_t>(s::kZone), s::kSingleWidth, textField(zone));
    masked(zone);
    add(prefix + "flags", record + static_cast<int32_t>(s::kFlags), 1,
        flagsField(
            {"enabled", "type", "kind", "relayStart", "relayOnBreak"}, [n](auto& c, size_t i) {
              auto& column = c.setpoints.setpoints[n];
              using Flag = std::variant<decltype(&column.enabled), decltype(&column.lists[0])>;
              return i == 0 ? Flag(&column.enabled) : Flag(&column.lists[i - 1]);
            }));
    fields.back().writableBits = device::setpoint_flag::kKnown;
    reserved(prefix + "reserved", record + static_cast<int32_t>(s::kSpare));
  }

  page = Block::kCalibration;
  constexpr std::array<const char*, device::kCoefficientGroupCount> kGroups = {
      "outputCurrent", "inputCurrent", "range100mV", "range1V", "resistance", "coldJunction"};
  for (const device::CoefficientBlock& block : device::kCoefficientBlocks) {
    const auto group = static_cast<size_t>(block.group);
    for (size_t f = 0; f < block.fieldCount; ++f) {
      std::string name = std::string("coefficients.") + kGroups[group];
      if (block.fieldCount > 1) name += std::to_string(f + 1);
      add(name, addressOf(block.start) + static_cast<int32_t>(block.fieldOffset(f)),
          static_cast<int>(block.fieldWidth()), coefficientField(group, f, block.fieldCount));
    }
  }
  return fields;
}

}  // namespace

const std::vector<BackupField>& BackupFields() {
  static const std::vector<BackupField> fields = build();
  return fields;
}

const BackupField* BackupFieldNamed(std::string_view name) {
  for (const BackupField& field : BackupFields()) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

const BackupField* BackupFieldAt(int32_t address) {
  for (const BackupField& field : BackupFields()) {
    if (field.covers(address)) return &field;
  }
  return nullptr;
}

}  // namespace backup
