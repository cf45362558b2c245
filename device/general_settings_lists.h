#pragma once

#include <array>
#include <string_view>

namespace device {

// The items of the three selection lists of the general settings, in the
// order of the codes the instrument keeps (the list position is the code).
// UTF-8, as the window shows them.
inline constexpr std::array<std::string_view, 2> kProtocolNames = {"MODBUS-ASCII", "MODBUS-RTU"};

inline constexpr std::array<std::string_view, 7> kBaudNames = {"2400",  "4800",  "9600",  "19200",
                                                               "38400", "57600", "115200"};

inline constexpr std::array<std::string_view, 26> kInputTypeNames = {"50П (W=1.3910)",
                                                                     "100П (W=1.3910)",
                                                                     "50М (W=1.4260)",
                                                                     "100М (W=1. 4260)",
                                                                     "50П (W=1.3850)",
                                                                     "100П (W=1.3850)",
                                                                     "50М (W=1.4280)",
                                                                     "100М (W=1.4280)",
                                                                     "Градуировка 21",
                                                                     "Градуировка 23",
                                                                     "S",
                                                                     "K",
                                                                     "L",
                                                                     "B",
                                                                     "A1",
                                                                     "J",
                                                                     "N",
                                                                     "(0..5)mA",
                                                                     "(0..20)mA",
                                                                     "(4..20)mA",
                                                                     "(20..4)mA",
                                                                     "(0..20)mV",
                                                                     "(0..100)mV",
                                                                     "(0..1)V",
                                                                     "(-1..1)V",
                                                                     "(0…1000) Ом"};

}  // namespace device
