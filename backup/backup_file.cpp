#include "backup/backup_file.h"

#include <cctype>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "backup/backup_fields.h"
#include "backup/identification.h"
#include "modbus/frame_codec.h"

namespace backup {

namespace {

using json = nlohmann::ordered_json;

constexpr const char* kFormat = "ulm5-configuration";

json::json_pointer pointerOf(const std::string& dottedName) {
  std::string path;
  for (char c : dottedName) path += c == '.' ? '/' : c;
  return json::json_pointer("/" + path);
}

// Exactly `width` bytes as hex pairs with one blank between them.
std::optional<modbus::ByteString> bytesOf(const json& hex, size_t width) {
  if (!hex.is_string()) return std::nullopt;
  const std::string text = hex.get<std::string>();
  if (text.size() != 3 * width - 1) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool blank = i % 3 == 2;
    if (blank != (text[i] == ' ') ||
        (!blank && !std::isxdigit(static_cast<unsigned char>(text[i]))))
      return std::nullopt;
  }
  modbus::ByteString bytes;
  for (size_t i = 0; i < width; ++i) {
    bytes += static_cast<char>(std::stoi(text.substr(3 * i, 2), nullptr, 16));
  }
  return bytes;
}

json identificationOf(const Backup& backup) {
  const device::IdentificationBlock block = backup.instrument();
  const device::IdentificationTexts texts = device::FormatIdentification(block);
  return {{"hex", HexBytes(backup.identification)},
          {"typeCode", block.typeCode},
          {"type", texts.type},
          {"version", texts.version},
          {"serialNumber", texts.serial},
          {"manufactured", texts.date}};
}

}  // namespace

std::string HexBytes(const modbus::ByteString& bytes) {
  std::string text = modbus::HexDump(bytes);
  if (!text.empty()) text.pop_back();  // the blank after the last pair
  return text;
}

device::IdentificationBlock Backup::instrument() const {
  const auto decoded = Identification::fromBytes(identification);
  return decoded ? decoded->block : device::IdentificationBlock{};
}

std::string EncodeBackup(const Backup& backup) {
  json document = {{"format", kFormat},
                   {"version", kBackupVersion},
                   {"readAt", backup.readAt},
                   {"instrument", identificationOf(backup)}};
  const Configuration& c = backup.configuration;
  for (const BackupField& field : BackupFields()) {
    const auto raw = c.raw.bytes(field.reg(), field.byte(), field.width);
    json entry = {{"register", field.reg()},
                  {"byte", field.byte()},
                  {"hex", raw ? HexBytes(*raw) : std::string()}};
    if (field.value) entry["value"] = field.value(c);
    const json position = field.value ? field.value(c) : json();
    if (position.is_number_integer() && position >= 0 && position < field.itemNames.size()) {
      entry["text"] = field.itemNames[position.get<size_t>()];
    }
    document[pointerOf(field.name)] = entry;
  }
  return document.dump(2) + "\n";
}

namespace {

BackupError failure(BackupError::Kind kind, std::string path = {}) {
  BackupError error;
  error.kind = kind;
  error.path = std::move(path);
  return error;
}

// A member of an object, present and of the kind asked, or the reason it is
// not, naming it by its path.
const json* member(const json& object, const char* key, json::value_t kind, const std::string& path,
                   BackupError& error) {
  const auto found = object.find(key);
  if (found == object.end()) {
    error = failure(BackupError::Kind::kMissing, path);
    return nullptr;
  }
  const bool integer = kind == json::value_t::number_integer;
  if (integer ? !found->is_number_integer() : found->type() != kind) {
    error = failure(BackupError::Kind::kWrongKind, path);
    error.expected = integer                         ? BackupError::ValueKind::kWholeNumber
                     : kind == json::value_t::object ? BackupError::ValueKind::kObject
                                                     : BackupError::ValueKind::kText;
    return nullptr;
  }
  return &*found;
}

std::optional<Backup> decode(const json& document, BackupError& error) {
  if (!document.is_object()) {
    error = failure(BackupError::Kind::kNotAnObject);
    return std::nullopt;
  }
  const json* format = member(document, "format", json::value_t::string, "format", error);
  if (!format) return std::nullopt;
  if (*format != kFormat) {
    error = failure(BackupError::Kind::kNotABackup);
    return std::nullopt;
  }
  const json* version =
      member(document, "version", json::value_t::number_integer, "version", error);
  if (!version) return std::nullopt;
  if (*version < 1) {
    error = failure(BackupError::Kind::kBadVersion, "version");
    return std::nullopt;
  }
  if (*version > kBackupVersion) {
    error = failure(BackupError::Kind::kNewerVersion, "version");
    error.detail = version->dump();
    return std::nullopt;
  }

  Backup backup;
  const json* readAt = member(document, "readAt", json::value_t::string, "readAt", error);
  const json* instrument =
      readAt ? member(document, "instrument", json::value_t::object, "instrument", error) : nullptr;
  if (!instrument) return std::nullopt;
  backup.readAt = readAt->get<std::string>();
  const auto identification =
      bytesOf(instrument->value("hex", json()), 2 * device::kIdentificationCount);
  if (!identification) {
    error = failure(BackupError::Kind::kBadIdentification, "instrument.hex");
    return std::nullopt;
  }
  backup.identification = *identification;
  const json* typeCode =
      member(*instrument, "typeCode", json::value_t::number_integer, "instrument.typeCode", error);
  if (!typeCode) return std::nullopt;
  if (*typeCode != backup.instrument().typeCode) {
    error = failure(BackupError::Kind::kTypeCodeDiffers, "instrument.typeCode");
    return std::nullopt;
  }

  Configuration& c = backup.configuration;
  for (const BackupField& field : BackupFields()) {
    const auto pointer = pointerOf(field.name);
    const auto group = pointer.parent_pointer();
    if (!document.contains(group) || !document.at(group).is_object() ||
        !document.contains(pointer) || !document.at(pointer).is_object()) {
      error = failure(BackupError::Kind::kMissing, field.name);
      return std::nullopt;
    }
    const json& entry = document.at(pointer);
    const json* reg =
        member(entry, "register", json::value_t::number_integer, field.name + ".register", error);
    const json* byte =
        reg ? member(entry, "byte", json::value_t::number_integer, field.name + ".byte", error)
            : nullptr;
    if (!byte) return std::nullopt;
    if (*reg != field.reg() || *byte != field.byte()) {
      error = failure(BackupError::Kind::kMisplaced, field.name);
      return std::nullopt;
    }
    const auto raw = bytesOf(entry.value("hex", json()), static_cast<size_t>(field.width));
    if (!raw) {
      error = failure(BackupError::Kind::kBadBytes, field.name);
      return std::nullopt;
    }
    c.raw.putAt(field.address, *raw);
    if (field.setValue && (!entry.contains("value") || !field.setValue(c, entry["value"]))) {
      error = failure(BackupError::Kind::kBadValue, field.name);
      return std::nullopt;
    }
  }
  return backup;
}

}  // namespace

std::optional<Backup> DecodeBackup(std::string_view text, BackupError& error) {
  // The parser keeps the last of two equal keys without a word; a file
  // edited by hand may hold two values for one field, and neither is sure.
  struct Object {
    std::string path;
    std::set<std::string> keys;
    std::string lastKey;
  };
  std::vector<Object> objects;
  std::string duplicate;
  const json::parser_callback_t keys = [&](int, json::parse_event_t event, json& parsed) {
    if (event == json::parse_event_t::object_start) {
      std::string path;
      if (!objects.empty()) {
        path = objects.back().path.empty() ? objects.back().lastKey
                                           : objects.back().path + "." + objects.back().lastKey;
      }
      objects.push_back({path, {}, {}});
    } else if (event == json::parse_event_t::object_end && !objects.empty()) {
      objects.pop_back();
    } else if (event == json::parse_event_t::key && !objects.empty()) {
      Object& object = objects.back();
      object.lastKey = parsed.get<std::string>();
      if (!object.keys.insert(object.lastKey).second && duplicate.empty()) {
        duplicate = object.path.empty() ? object.lastKey : object.path + "." + object.lastKey;
      }
    }
    return true;
  };
  const json document = json::parse(text, keys, false);
  if (document.is_discarded()) {
    error = failure(BackupError::Kind::kNotJson);
    return std::nullopt;
  }
  if (!duplicate.empty()) {
    error = failure(BackupError::Kind::kGivenTwice, duplicate);
    return std::nullopt;
  }
  try {
    return decode(document, error);
  } catch (const json::exception& e) {
    // Every member is checked before it is read; this is the last line of defence.
    error = failure(BackupError::Kind::kMalformed);
    error.detail = e.what();
    return std::nullopt;
  }
}

}  // namespace backup
