#include "ui/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

bool ProfileFile::isUsable() const {
  const QFileInfo info(path_);
  if (!info.exists()) return true;
  if (info.isDir()) return false;
  QFile file(path_);
  return file.open(QIODevice::ReadOnly);
}

settings::ProfileText ProfileFile::load() const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return settings::ProfileText::parse(file.readAll().toStdString());
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
  const auto value = load().value(section.toStdString(), key.toStdString());
  return value ? QString::fromStdString(*value) : defaultValue;
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
  return load().integer(section.toStdString(), key.toStdString()).value_or(defaultValue);
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
  settings::ProfileText profile = load();
  profile.setValue(section.toStdString(), key.toStdString(), value.toStdString());
  QSaveFile file(path_);
  // In a directory we may not create files in, an existing writable file is
  // still rewritten in place.
  file.setDirectWriteFallback(true);
  const QByteArray bytes = QByteArray::fromStdString(profile.text());
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw WriteError(QStringLiteral("Unable to write to %1").arg(path_).toStdString());
  }
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
  writeString(section, key, QString::number(value));
}
