#include "ui/connection_settings.h"

#include "settings/port_device_path.h"

namespace connection_settings {

namespace {

const QString kSection = QStringLiteral("ULM5");
const QString kComKey = QStringLiteral("Com");
const QString kBaudKey = QStringLiteral("Baud");
constexpr int kMissing = -1;

void restore(ProfileFile& file, const QString& key, int low, int high, int fallback, int* value) {
  const int stored = file.readInteger(kSection, key, kMissing);
  if (stored >= low && stored <= high) {
    *value = stored;
    return;
  }
  *value = fallback;
  file.writeInteger(kSection, key, fallback);
}

}  // namespace

void restorePortNumber(ProfileFile& file, int* value) {
  restore(file, kComKey, 1, 32, kDefaultPortNumber, value);
}

void restoreBaudIndex(ProfileFile& file, int* value) {
  restore(file, kBaudKey, 0, 6, kDefaultBaudIndex, value);
}

bool fastExchange(const ProfileFile& file) {
  return file.readInteger(kSection, QStringLiteral("FastExchange"), 0) == 1;
}

void storePortNumber(ProfileFile& file, int portNumber) {
  file.writeInteger(kSection, kComKey, portNumber);
}

void storeBaudIndex(ProfileFile& file, int baudIndex) {
  file.writeInteger(kSection, kBaudKey, baudIndex);
}

std::string portDevicePath(const ProfileFile& file, int comNumber) {
  return settings::PortDevicePath(file.load(), comNumber);
}

void mapPortDevice(ProfileFile& file, int comNumber, const std::string& devicePath) {
  file.writeString(QString::fromLatin1(settings::kPortsSection),
                   QString::fromStdString(settings::PortKey(comNumber)),
                   QString::fromStdString(devicePath));
}

}  // namespace connection_settings
