#include "ui/profile_file.h"

#include "ui/connection_settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  QString path() const { return dir_.filePath(QStringLiteral("Configurator.ini")); }

  void writeRaw(const QByteArray& bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QByteArray readRaw() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, SectionAndKeyIgnoreCase) {
  writeRaw("[ulm5]\ncom = 7\nBAUD=2\n");
  const ProfileFile file(path());
  EXPECT_EQ(file.readInteger("ULM5", "Com", -1), 7);
  EXPECT_EQ(file.readInteger("Ulm5", "baud", -1), 2);

  ProfileFile writer(path());
  writer.writeInteger("ULM5", "COM", 9);
  // The existing line is rewritten, not a second key added.
  EXPECT_EQ(readRaw(), QByteArray("[ulm5]\ncom=9\nBAUD=2\n"));
}

TEST_F(ProfileFileTest, MissingOrMalformedValuesGiveTheDefault) {
  writeRaw("[ULM5]\nCom=abc\nBaud=\nPort=12x\n[Other]\nKey=5\n");
  const ProfileFile file(path());
  EXPECT_EQ(file.readInteger("ULM5", "Com", -1), -1);
  EXPECT_EQ(file.readInteger("ULM5", "Baud", -1), -1);
  EXPECT_EQ(file.readInteger("ULM5", "Port", -1), -1);
  EXPECT_EQ(file.readInteger("ULM5", "Key", -1), -1) << "a key of another section";
  EXPECT_EQ(file.readInteger("Missing", "Key", 4), 4);
  EXPECT_EQ(file.readString("Other", "Key", "x"), QStringLiteral("5"));

  const ProfileFile absent(dir_.filePath("none.ini"));
  EXPECT_TRUE(absent.isUsable());
  EXPECT_EQ(absent.readInteger("ULM5", "Com", -1), -1);
}

TEST_F(ProfileFileTest, WritesKeepEveryOtherLine) {
  writeRaw(
      "; written by hand\n"
      "[Ports]\n"
      "COM1=/dev/ttyUSB0\n"
      "\n"
      "[ULM5]\n"
      "Com=3\n"
      "\n"
      "[Other]\n"
      "Keep=yes\n");
  ProfileFile file(path());
  file.writeInteger("ULM5", "Baud", 2);
  file.writeInteger("ULM5", "Com", 5);
  file.writeString("New", "Key", "v");
  EXPECT_EQ(readRaw(), QByteArray("; written by hand\n"
                                  "[Ports]\n"
                                  "COM1=/dev/ttyUSB0\n"
                                  "\n"
                                  "[ULM5]\n"
                                  "Com=5\n"
                                  "Baud=2\n"
                                  "\n"
                                  "[Other]\n"
                                  "Keep=yes\n"
                                  "[New]\n"
                                  "Key=v\n"));
}

TEST_F(ProfileFileTest, WindowsLineEndsStayWindowsLineEnds) {
  writeRaw("[ULM5]\r\nCom=3\r\n");
  ProfileFile file(path());
  EXPECT_EQ(file.readInteger("ULM5", "Com", -1), 3);
  file.writeInteger("ULM5", "Baud", 1);
  EXPECT_EQ(readRaw(), QByteArray("[ULM5]\r\nCom=3\r\nBaud=1\r\n"));
}

TEST_F(ProfileFileTest, AByteOrderMarkIsReadOverAndKept) {
  writeRaw("\xEF\xBB\xBF[ULM5]\r\nCom=3\r\n");
  ProfileFile file(path());
  EXPECT_EQ(file.readInteger("ULM5", "Com", -1), 3);
  file.writeInteger("ULM5", "Com", 5);
  EXPECT_EQ(readRaw(), QByteArray("\xEF\xBB\xBF[ULM5]\r\nCom=5\r\n"));
}

TEST_F(ProfileFileTest, EveryWriteReachesTheFileAtOnce) {
  ProfileFile writer(path());
  const ProfileFile reader(path());
  writer.writeInteger("ULM5", "Com", 4);
  EXPECT_EQ(readRaw(), QByteArray("[ULM5]\nCom=4\n"));
  EXPECT_EQ(reader.readInteger("ULM5", "Com", -1), 4);
  // A change made behind the object's back is seen by its next read.
  writeRaw("[ULM5]\nCom=6\n");
  EXPECT_EQ(writer.readInteger("ULM5", "Com", -1), 6);
}

TEST_F(ProfileFileTest, RefusedWriteNamesThePath) {
  // Tests may run as root, which ignores directory permission bits: a path
  // below a regular file cannot be created by anyone.
  writeRaw("not a directory");
  const QString blocked = path() + QStringLiteral("/Configurator.ini");
  ProfileFile file(blocked);
  EXPECT_TRUE(file.isUsable()) << "an absent file is not a failure to open";
  try {
    file.writeInteger("ULM5", "Com", 1);
    FAIL() << "write did not fail";
  } catch (const ProfileFile::WriteError& error) {
    EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to ") + blocked);
  }
}

TEST_F(ProfileFileTest, DirectoryIsNotUsable) { EXPECT_FALSE(ProfileFile(dir_.path()).isUsable()); }

}  // namespace

namespace {

TEST_F(ProfileFileTest, FastExchangeOnlyWhenSetToOne) {
  const struct {
    const char* text;
    bool fast;
  } cases[] = {
      {"[ULM5]\nCom=1\n", false},
      {"[ULM5]\nFastExchange=1\n", true},
      {"[ulm5]\nfastexchange = 1\n", true},
      {"[ULM5]\nFastExchange=0\n", false},
      {"[ULM5]\nFastExchange=yes\n", false},
      {"[Ports]\nFastExchange=1\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    writeRaw(c.text);
    EXPECT_EQ(connection_settings::fastExchange(ProfileFile(path())), c.fast);
  }
}

}  // namespace
