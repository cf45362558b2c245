#include "modbus/frame_codec.h"

#include <gtest/gtest.h>

#include <random>

#include "link_rig.h"
#include "modbus/result_codes.h"

namespace modbus {
namespace {

using testing::bytes;

TEST(BuildFrame, FramesPayloadWithUpperCaseHexAndLrc) {
  EXPECT_EQ(BuildFrame(bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A})), ":01030000000AF2\r\n");
  EXPECT_EQ(BuildFrame(""), ":00\r\n");
  // The sum wraps modulo 256; zero bytes are ordinary payload.
  EXPECT_EQ(BuildFrame(bytes({0xFF, 0xFF, 0x00, 0xAB})), ":FFFF00AB57\r\n");
}

TEST(DecodeReply, ReturnsBytesBetweenMarkerAndLrc) {
  EXPECT_EQ(DecodeReply(":01830379\r\n"), bytes({0x01, 0x83, 0x03}));
  for (const ByteString& payload :
       {bytes({0, 3, 2, 0, 0}), bytes({0x11, 0x0F, 0xFF, 0xFF, 0x00}), ByteString(300, '\xA5')}) {
    EXPECT_EQ(DecodeReply(BuildFrame(payload)), payload);
  }
}

TEST(DecodeReply, ChecksRunInOrderAndTheFirstFailureDecides) {
  const struct {
    ByteString raw;
    int expected;
  } cases[] = {
      {"", 0x04},
      {"01830379\r\n:", 0x04},
      {"\n", 0x04},            // start checked before length
      {":01830379\r", 0x05},   // 10 characters: length before end markers
      {":0183037\r\n", 0x05},  // 10 characters with both markers
      {":01830379\r\n\r", 0x06},
      {":018303790\r", 0x06},
      {":01830379\n\n", 0x07},
      {":01830379 \n", 0x07},
      {":018303790\r\n", 0x08},  // digits valid, count odd
      {":01830379X\r\n", 0x08},
      {":01830378\r\n", 0x09},
      {":01830379\r\n\r\n", 0x09},  // inner CR LF decoded as digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeReply(c.raw), CodeResult(c.expected)) << ::testing::PrintToString(c.raw);
  }
}

TEST(DecodeReply, LowerCaseDigitsDecodeToWrongBytes) {
  // "0a" is read as 0x61 + ... and fails the check.
  EXPECT_EQ(DecodeReply(":0103020a00f0\r\n"), CodeResult(0x09));
  EXPECT_EQ(DecodeReply(":0103020A00F0\r\n"), bytes({0x01, 0x03, 0x02, 0x0A, 0x00}));
  // Wrongly decoded bytes that happen to sum to zero pass: 'a'*16 + 'a' = 0x71 mod 256,
  // and 0x8F balances it.
  EXPECT_EQ(DecodeReply(":aa00008F\r\n"), bytes({0x71, 0x00, 0x00}));
}

TEST(DecodeReply, NoiseOfAnyLengthGivesACodeOrBytes) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t len : {0u, 1u, 10u, 11u, 12u, 13u, 1u << 20}) {
    ByteString noise(len, '\0');
    for (char& c : noise) c = static_cast<char>(byte(rng));
    if (len > 0) noise[0] = ':';
    const ExchangeResult r = DecodeReply(noise);
    if (r.size() != 1) {
      EXPECT_GE(r.size(), 3u);
      EXPECT_LE(r.size(), len / 2);
    }
  }
  // A megabyte frame of valid digits is decoded in full.
  const ByteString big(1 << 19, '\x5A');
  EXPECT_EQ(DecodeReply(BuildFrame(big)), big);
}

TEST(HexDump, TwoDigitsAndABlankPerByte) {
  EXPECT_EQ(HexDump(bytes({0x3A, 0x30})), "3A 30 ");
  EXPECT_EQ(HexDump(""), "");
  EXPECT_EQ(HexDump(bytes({0x00, 0xFF, 0x0D, 0x0A})), "00 FF 0D 0A ");
}

TEST(HexDigitValue, OnlyUpperCaseDigitsAreConverted) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('a'), 0x61);
  EXPECT_EQ(HexDigitValue('G'), 'G');
  EXPECT_EQ(HexDigitValue('\0'), 0);
  EXPECT_EQ(HexDigitValue('\xFF'), 0xFF);
}

}  // namespace
}  // namespace modbus
