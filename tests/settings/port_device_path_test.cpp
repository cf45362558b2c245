// COMn to a device: section "Ports" first, else the platform's own device of
// that number.

#include "settings/port_device_path.h"

#include <gtest/gtest.h>

#include <string>

namespace settings {
namespace {

#ifdef _WIN32
constexpr const char* kMappedCom12 = "\\\\.\\com12";
constexpr const char* kCom2 = "\\\\.\\COM2";
constexpr const char* kCom3 = "\\\\.\\COM3";
constexpr const char* kCom12 = "\\\\.\\COM12";
#else
constexpr const char* kMappedCom12 = "com12";
constexpr const char* kCom2 = "/dev/ttyS1";
constexpr const char* kCom3 = "/dev/ttyS2";
constexpr const char* kCom12 = "/dev/ttyS11";
#endif

TEST(PortDevicePath, SectionPortsMapsANumberElseThePlatformDevice) {
  const ProfileText profile = ProfileText::parse(
      "[ULM5]\r\nCom=3\r\n[ports]\r\ncom1 = \"USB adapter\"\r\nCOM2=\r\n"
      "COM4=/tmp/ulm5 sim\r\nCOM5=com12\r\n");
  struct Case {
    int number;
    std::string path;
  };
  const Case cases[] = {
      {1, "USB adapter"},  // key case ignored, blanks and one pair of quotes dropped
      {2, kCom2},          // an empty mapping is no mapping
      {3, kCom3},         {4, "/tmp/ulm5 sim"}, {5, kMappedCom12}, {12, kCom12},
  };
  for (const Case& c : cases) EXPECT_EQ(PortDevicePath(profile, c.number), c.path) << c.number;
}

TEST(PortDevicePath, ABareComNameGoesIntoTheDeviceNamespace) {
  const struct {
    const char* name;
    const char* device;
  } cases[] = {
      {"COM12", "\\\\.\\COM12"},
      {"com3", "\\\\.\\com3"},
      {"Com1", "\\\\.\\Com1"},
      {"\\\\.\\COM12", "\\\\.\\COM12"},  // already there
      {"COM", "COM"},
      {"COM1x", "COM1x"},
      {"COMX", "COMX"},
      {"XCOM1", "XCOM1"},
      {"COM 1", "COM 1"},
      {"C:\\ports\\COM12", "C:\\ports\\COM12"},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeviceNamespaceName(c.name), c.device) << c.name;
}

TEST(PortDevicePath, KeyOfANumber) {
  EXPECT_EQ(PortKey(1), "COM1");
  EXPECT_EQ(PortKey(32), "COM32");
}

}  // namespace
}  // namespace settings
