#include "sim/frame_reader.h"

#include <gtest/gtest.h>

#include "modbus/frame_codec.h"

namespace sim {
namespace {

const std::string kRequest("\x00\x03\x00\x78\x00\x06", 6);

std::vector<FrameEvent> feed(FrameReader& reader, const std::string& bytes) {
  std::vector<FrameEvent> out;
  reader.feed(bytes, out);
  return out;
}

TEST(FrameReader, TakesAFrameInAnyPiecesAndIgnoresNoiseBetweenFrames) {
  FrameReader reader;
  const std::string frame = modbus::BuildFrame(kRequest);
  std::vector<FrameEvent> all;
  const std::string stream = "\x00\xFFgarbage\r\n" + frame + "\n\n" + frame;
  for (char c : stream) reader.feed(std::string(1, c), all);
  ASSERT_EQ(all.size(), 2u);
  for (const FrameEvent& e : all) {
    EXPECT_TRUE(e.good);
    EXPECT_EQ(e.payload, kRequest);
  }
}

TEST(FrameReader, DropsBadFramesAndIsReadyForTheNextOne) {
  const std::string good = modbus::BuildFrame(kRequest);
  std::string badLrc = good;
  badLrc[badLrc.size() - 3] = badLrc[badLrc.size() - 3] == '0' ? '1' : '0';
  std::string noCr = good;
  noCr.erase(noCr.size() - 2, 1);
  std::string odd = good;
  odd.erase(1, 1);
  std::string notHex = good;
  notHex[3] = 'G';
  const std::string tooShort = ":0000\r\n";
  const std::string overlong = ":" + std::string(FrameReader::kMaxFrameChars + 10, '0') + "\r\n";
  for (const std::string& bad : {badLrc, noCr, odd, notHex, tooShort, overlong}) {
    FrameReader reader;
    const auto out = feed(reader, bad + good);
    ASSERT_EQ(out.size(), 2u) << bad;
    EXPECT_FALSE(out[0].good) << bad;
    EXPECT_TRUE(out[1].good) << bad;
  }
}

TEST(FrameReader, ColonRestartsAFrameCutShort) {
  FrameReader reader;
  const std::string good = modbus::BuildFrame(kRequest);
  const auto out = feed(reader, good.substr(0, 7) + good);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_FALSE(out[0].good);
  EXPECT_TRUE(out[1].good);
  EXPECT_EQ(out[1].payload, kRequest);
}

TEST(FrameReader, AcceptsLowerCaseDigits) {
  FrameReader reader;
  std::string frame = modbus::BuildFrame(std::string("\x00\x10\x00\x0C\x00\x01\x02\xAB\xCD", 9));
  for (char& c : frame) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto out = feed(reader, frame);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_TRUE(out[0].good);
  EXPECT_EQ(out[0].payload.size(), 9u);
}

}  // namespace
}  // namespace sim
