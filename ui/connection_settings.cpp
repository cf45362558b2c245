#include "ui/connection_settings.h"

#include "device/link_parameters.h"
#include "settings/port_device_path.h"

namespace connection_settings {

namespace {

const QString kSection = QStringLiteral("ULM5");
const QString kComKey = QStringLiteral("Com");
const QString kBaudKey = QStringLiteral("Baud");
const QString kAddressKey = QStringLiteral("Address");
const QString kFastExchangeKey = QStringLiteral("FastExchange");
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

void restoreAddress(ProfileFile& file, int* value) {
  restore(file, kAddressKey, device::kInstrumentAddress, device::kHighestInstrumentAddress,
          device::kInstrumentAddress, value);
}

bool fastExchange(const ProfileFile& file) {
  return file.readInteger(kSection, kFastExchangeKey, 0) == 1;
}

void storePortNumber(ProfileFile& file, int portNumber) {
  file.writeInteger(kSection, kComKey, portNumber);
}

void storeBaudIndex(ProfileFile& file, int baudIndex) {
  file.writeInteger(kSection, kBaudKey, baudIndex);
}

void storeAddress(ProfileFile& file, int address) {
  file.writeInteger(kSection, kAddressKey, address);
}

void storeFastExchange(ProfileFile& file, bool on) {
  file.writeInteger(kSection, kFastExchangeKey, on ? 1 : 0);
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
