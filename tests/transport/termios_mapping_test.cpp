#include "transport/posix/termios_mapping.h"

#include <gtest/gtest.h>

namespace transport::posix {
namespace {

termios2 cooked() {
  termios2 t{};
  t.c_iflag = ICRNL | IXON;
  t.c_oflag = OPOST | ONLCR;
  t.c_lflag = ICANON | ECHO | ISIG;
  t.c_cflag = B9600 | CS8 | CREAD | HUPCL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 5;
  return t;
}

TEST(TermiosMapping, RawModeReturnsAtOnceAndTranslatesNothing) {
  termios2 t = cooked();
  makeRaw(t);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(TermiosMapping, StandardRatesUseTheirCodesOthersBother) {
  struct Case {
    uint32_t rate;
    tcflag_t code;
  };
  const Case cases[] = {{2400, B2400},     {9600, B9600},    {57600, B57600},
                        {115200, B115200}, {110, B110},      {14400, BOTHER},
                        {56000, BOTHER},   {128000, BOTHER}, {256000, BOTHER}};
  for (const Case& c : cases) {
    termios2 t = cooked();
    ASSERT_TRUE(mapBaudRate(t, c.rate));
    EXPECT_EQ(t.c_cflag & CBAUD, c.code) << c.rate;
    EXPECT_EQ(t.c_cflag & (CBAUD << IBSHIFT), 0u) << "input follows output";
    EXPECT_EQ(bitRateOf(t), c.rate);
  }
  termios2 t = cooked();
  EXPECT_FALSE(mapBaudRate(t, 0));
  EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t(B9600));
}

TEST(TermiosMapping, DataBitsFiveToEightOnly) {
  const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
  for (uint8_t bits = 5; bits <= 8; ++bits) {
    termios2 t = cooked();
    ASSERT_TRUE(mapDataBits(t, bits));
    EXPECT_EQ(t.c_cflag & CSIZE, sizes[bits - 5]);
  }
  termios2 t = cooked();
  EXPECT_FALSE(mapDataBits(t, 4));
  EXPECT_FALSE(mapDataBits(t, 9));
}

TEST(TermiosMapping, ParityIncludingStickParity) {
  struct Case {
    uint8_t parity;
    tcflag_t bits;
  };
  const Case cases[] = {{NOPARITY, 0},
                        {ODDPARITY, PARENB | PARODD},
                        {EVENPARITY, PARENB},
                        {MARKPARITY, PARENB | PARODD | CMSPAR},
                        {SPACEPARITY, PARENB | CMSPAR}};
  for (const Case& c : cases) {
    termios2 t = cooked();
    t.c_cflag |= PARENB | PARODD | CMSPAR;  // leftovers are cleared
    ASSERT_TRUE(mapParity(t, c.parity, true));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.bits);
    EXPECT_EQ((t.c_iflag & INPCK) != 0, c.bits != 0);
    DCB back = dcbFromTermios(t, DCB{});
    EXPECT_EQ(back.Parity, c.parity);
  }
  termios2 t = cooked();
  EXPECT_FALSE(mapParity(t, 5, false));
}

TEST(TermiosMapping, StopBitsOneAndTwoButNotOneAndAHalf) {
  termios2 t = cooked();
  ASSERT_TRUE(mapStopBits(t, TWOSTOPBITS));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  ASSERT_TRUE(mapStopBits(t, ONESTOPBIT));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(mapStopBits(t, ONE5STOPBITS));
}

TEST(TermiosMapping, FlowControlMapsHandshakesAndRefusesDsr) {
  using namespace dcb_flags;
  termios2 t = cooked();
  ASSERT_TRUE(mapFlowControl(t, fOutxCtsFlow | fRtsControlHandshake, 17, 19));
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
  ASSERT_TRUE(mapFlowControl(t, fOutX | fInX | fRtsControlEnable, 0x11, 0x13));
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  const termios2 before = t;
  EXPECT_FALSE(mapFlowControl(t, fOutxDsrFlow | fDtrControlHandshake, 17, 19));
  EXPECT_FALSE(mapFlowControl(t, fDsrSensitivity, 17, 19));
  EXPECT_FALSE(mapFlowControl(t, fRtsControlToggle, 17, 19));
  EXPECT_FALSE(mapFlowControl(t, fOutxCtsFlow, 17, 19));  // CTS without RTS handshake
  EXPECT_EQ(t.c_iflag, before.c_iflag);
  EXPECT_EQ(t.c_cflag, before.c_cflag);
}

TEST(TermiosMapping, WholeBlockRoundTripsAndRefusalsLeaveTheSettings) {
  DCB dcb{};
  dcb.DCBlength = 28;
  dcb.BaudRate = 115200;
  dcb.Flags = 0x1011;
  dcb.ByteSize = 8;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  termios2 t = cooked();
  ASSERT_TRUE(termiosFromDcb(dcb, t));
  EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t(B115200));
  EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_FALSE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS));
  EXPECT_TRUE(sameLineSettings(t, t));
  EXPECT_EQ(dcbFromTermios(t, dcb), dcb);

  termios2 forced = t;  // what a pseudo-terminal does to 7E1
  DCB sevenEven = dcb;
  sevenEven.ByteSize = 7;
  sevenEven.Parity = EVENPARITY;
  termios2 wanted = t;
  ASSERT_TRUE(termiosFromDcb(sevenEven, wanted));
  EXPECT_FALSE(sameLineSettings(wanted, forced));
  EXPECT_EQ(dcbFromTermios(forced, sevenEven).ByteSize, 8);

  for (auto change : {+[](DCB& d) { d.ByteSize = 4; }, +[](DCB& d) { d.StopBits = ONE5STOPBITS; },
                      +[](DCB& d) { d.Flags |= dcb_flags::fOutxDsrFlow; },
                      +[](DCB& d) { d.Flags |= dcb_flags::fNull; }}) {
    DCB bad = dcb;
    change(bad);
    termios2 u = cooked();
    const termios2 before = u;
    EXPECT_FALSE(termiosFromDcb(bad, u));
    EXPECT_EQ(u.c_cflag, before.c_cflag);
  }
}

}  // namespace
}  // namespace transport::posix
