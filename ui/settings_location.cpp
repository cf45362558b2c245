#include "ui/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kFileName = QStringLiteral("Configurator.ini");
const QString kUserDir = QStringLiteral("ulm5");

}  // namespace

QString SettingsFilePath(const QString& executableDir, const QString& defaultRelativeDir,
                         const QString& configHome) {
  const QDir exe(executableDir);
  const QString shipped = QDir::cleanPath(exe.filePath(defaultRelativeDir + u'/' + kFileName));
  if (defaultRelativeDir.isEmpty() || !QFileInfo(shipped).isFile() || configHome.isEmpty()) {
    QString dir = executableDir;
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + kFileName;
  }
  const QString userDir = QDir(configHome).filePath(kUserDir);
  const QString path = QDir(userDir).filePath(kFileName);
  if (!QFileInfo::exists(path) && QDir().mkpath(userDir) && QFile::copy(shipped, path)) {
    // The copy takes the default's read-only mode; the user's file is the user's to write.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ReadOther);
  }
  return path;
}

QString ApplicationSettingsFilePath() {
  return SettingsFilePath(QCoreApplication::applicationDirPath(),
                          QStringLiteral(ULM5_DEFAULT_SETTINGS_DIR),
                          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}
