// Where the settings file lives: beside the executable in the build tree; in
// the user's configuration directory, made from the shipped default, when
// installed. And SIGTERM closes the main window as its close button does.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <csignal>

#include "ui/settings_location.h"
#include "ui/termination_request.h"

namespace {

const QString kShippedText = QStringLiteral("[ULM5]\nCom=1\nBaud=6\n");

class SettingsLocation : public ::testing::Test {
 protected:
  SettingsLocation() {
    QDir(root_.path()).mkpath(QStringLiteral("usr/bin"));
    QDir(root_.path()).mkpath(QStringLiteral("usr/share/ulm5"));
  }

  QString bin() const { return root_.filePath(QStringLiteral("usr/bin")); }
  QString shipped() const {
    return root_.filePath(QStringLiteral("usr/share/ulm5/Configurator.ini"));
  }
  QString home() const { return root_.filePath(QStringLiteral("home/.config")); }
  void ship() {
    QFile file(shipped());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kShippedText.toUtf8());
    file.close();
    // Installed files are root's and read-only to the user.
    QFile::setPermissions(shipped(),
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  }
  static QString contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir root_;
};

TEST_F(SettingsLocation, FromTheBuildTreeTheFileStaysBesideTheExecutable) {
  // No shipped default beside the binaries: a build tree, whatever the home.
  EXPECT_EQ(SettingsFilePath(bin(), QStringLiteral("../share/ulm5"), home()),
            bin() + QStringLiteral("/Configurator.ini"));
  EXPECT_FALSE(QFileInfo::exists(home()));
  EXPECT_EQ(SettingsFilePath(bin() + u'/', QString(), home()),
            bin() + QStringLiteral("/Configurator.ini"));
}

TEST_F(SettingsLocation, InstalledEachUserGetsACopyOfTheDefaultOnceAndMayWriteIt) {
  ship();
  const QString path = SettingsFilePath(bin(), QStringLiteral("../share/ulm5"), home());
  EXPECT_EQ(path, home() + QStringLiteral("/ulm5/Configurator.ini"));
  EXPECT_EQ(contents(path), kShippedText);
  EXPECT_TRUE(QFileInfo(path).isWritable());

  // The user's own settings are never replaced by the default again.
  QFile own(path);
  ASSERT_TRUE(own.open(QIODevice::WriteOnly));
  own.write("[ULM5]\nCom=5\nBaud=2\n");
  own.close();
  EXPECT_EQ(SettingsFilePath(bin(), QStringLiteral("../share/ulm5"), home()), path);
  EXPECT_EQ(contents(path), QStringLiteral("[ULM5]\nCom=5\nBaud=2\n"));
  EXPECT_EQ(contents(shipped()), kShippedText);
}

TEST_F(SettingsLocation, InstalledWithoutAWritableHomeThePathStaysInTheHome) {
  ship();
  QFile blocker(root_.filePath(QStringLiteral("home")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the directory would go
  blocker.close();
  EXPECT_EQ(SettingsFilePath(bin(), QStringLiteral("../share/ulm5"), home()),
            home() + QStringLiteral("/ulm5/Configurator.ini"));
  EXPECT_FALSE(QFileInfo::exists(bin() + QStringLiteral("/Configurator.ini")));
}

TEST(TerminationRequest, SigtermClosesTheWindowLikeItsCloseButton) {
  QWidget window;
  window.show();
  CatchTerminationSignals();
  CloseOnTerminationRequest(window);
  std::raise(SIGTERM);
  const bool closed = QTest::qWaitFor([&] { return !window.isVisible(); }, 3000);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  EXPECT_TRUE(closed);
}

}  // namespace
