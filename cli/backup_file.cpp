#include "cli/backup_file.h"

#include <cctype>
#include <nlohmann/json.hpp>

#include "cli/backup_fields.h"
#include "modbus/frame_codec.h"

namespace cli {

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
  RegisterImage image;
  image.put(device::kIdentificationStart, identification);
  const auto data = image.image(device::kIdentificationStart, device::kIdentificationCount);
  const auto block = data ? device::DecodeIdentificationBlock(*data) : std::nullopt;
  return block.value_or(device::IdentificationBlock{});
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
    document[pointerOf(field.name)] = entry;
  }
  return document.dump(2) + "\n";
}

std::optional<Backup> DecodeBackup(std::string_view text, std::string& error) {
  const json document = json::parse(text, nullptr, false);
  if (document.is_discarded() || !document.is_object()) {
    error = "the file is not JSON (damaged?)";
    return std::nullopt;
  }
  if (document.value("format", "") != kFormat) {
    error = "the file is not a ULM5 configuration backup";
    return std::nullopt;
  }
  const auto version = document.find("version");
  if (version == document.end() || !version->is_number_integer() || *version < 1) {
    error = "the backup has no valid version";
    return std::nullopt;
  }
  if (*version > kBackupVersion) {
    error = "the backup was written by a newer ulm5-cli (version " +
            std::to_string(version->get<int>()) + "; this one reads up to " +
            std::to_string(kBackupVersion) + ")";
    return std::nullopt;
  }

  Backup backup;
  backup.readAt = document.value("readAt", "");
  const json instrument = document.value("instrument", json::object());
  const auto identification =
      bytesOf(instrument.value("hex", json()), 2 * device::kIdentificationCount);
  if (!identification) {
    error = "instrument.hex: not the 12 bytes of the identification";
    return std::nullopt;
  }
  backup.identification = *identification;
  if (instrument.value("typeCode", -1) != backup.instrument().typeCode) {
    error = "instrument.typeCode: differs from its bytes";
    return std::nullopt;
  }

  Configuration& c = backup.configuration;
  for (const BackupField& field : BackupFields()) {
    const auto pointer = pointerOf(field.name);
    if (!document.contains(pointer) || !document[pointer].is_object()) {
      error = field.name + ": missing";
      return std::nullopt;
    }
    const json& entry = document[pointer];
    if (entry.value("register", -1) != field.reg() || entry.value("byte", -1) != field.byte()) {
      error = field.name + ": not at register " + std::to_string(field.reg()) + " byte " +
              std::to_string(field.byte());
      return std::nullopt;
    }
    const auto raw = bytesOf(entry.value("hex", json()), static_cast<size_t>(field.width));
    if (!raw) {
      error = field.name + ": \"hex\" is not " + std::to_string(field.width) + " bytes";
      return std::nullopt;
    }
    c.raw.putAt(field.address, *raw);
    if (field.setValue && (!entry.contains("value") || !field.setValue(c, entry["value"]))) {
      error = field.name + ": \"value\" is missing or of the wrong kind";
      return std::nullopt;
    }
  }
  return backup;
}

}  // namespace cli
