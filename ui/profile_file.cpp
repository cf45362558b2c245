#include "ui/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <utility>

namespace {

std::optional<QString> sectionName(const QString& line) {
  const QString trimmed = line.trimmed();
  if (!trimmed.startsWith(u'[')) return std::nullopt;
  const qsizetype close = trimmed.indexOf(u']');
  if (close < 0) return std::nullopt;
  return trimmed.mid(1, close - 1).trimmed();
}

// Key of a "key=value" line; comments (";") and lines without "=" have none.
std::optional<QString> keyName(const QString& line) {
  const QString trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith(u';')) return std::nullopt;
  const qsizetype eq = trimmed.indexOf(u'=');
  if (eq <= 0) return std::nullopt;
  return trimmed.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

struct KeyPosition {
  qsizetype sectionLine = -1;    // index of the "[section]" line
  qsizetype lastEntryLine = -1;  // last non-blank line of the section
  qsizetype keyLine = -1;
};

KeyPosition locate(const QStringList& lines, const QString& section, const QString& key) {
  KeyPosition pos;
  bool inSection = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (const auto name = sectionName(lines[i])) {
      if (inSection) break;  // only the first section of that name counts
      inSection = sameName(*name, section);
      if (inSection) pos.sectionLine = pos.lastEntryLine = i;
      continue;
    }
    if (!inSection) continue;
    if (!lines[i].trimmed().isEmpty()) pos.lastEntryLine = i;
    const auto name = keyName(lines[i]);
    if (name && sameName(*name, key)) {
      pos.keyLine = i;
      break;
    }
  }
  return pos;
}

QString unquoted(QString value) {
  value = value.trimmed();
  if (value.size() >= 2 && ((value.front() == u'"' && value.back() == u'"') ||
                            (value.front() == u'\'' && value.back() == u'\''))) {
    value = value.mid(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {}

bool ProfileFile::isUsable() const {
  const QFileInfo info(path_);
  if (!info.exists()) return true;
  if (info.isDir()) return false;
  QFile file(path_);
  return file.open(QIODevice::ReadOnly);
}

QStringList ProfileFile::loadLines(bool* crlf) const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(file.readAll());
  if (crlf) *crlf = text.contains(QStringLiteral("\r\n"));
  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  return lines;
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
  const QStringList lines = loadLines();
  const KeyPosition pos = locate(lines, section, key);
  if (pos.keyLine < 0) return defaultValue;
  const QString& line = lines[pos.keyLine];
  return unquoted(line.mid(line.indexOf(u'=') + 1));
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
  const QString text = readString(section, key, QString());
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? value : defaultValue;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
  bool crlf = false;
  QStringList lines = loadLines(&crlf);
  const KeyPosition pos = locate(lines, section, key);
  if (pos.keyLine >= 0) {
    // The stored spelling of the key is kept; only the value changes.
    const QString& old = lines[pos.keyLine];
    lines[pos.keyLine] = old.left(old.indexOf(u'=')).trimmed() + u'=' + value;
  } else if (pos.sectionLine >= 0) {
    lines.insert(pos.lastEntryLine + 1, key + u'=' + value);
  } else {
    lines << u'[' + section + u']' << key + u'=' + value;
  }

  const QString eol = crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
  QSaveFile file(path_);
  // In a directory we may not create files in, an existing writable file is
  // still rewritten in place.
  file.setDirectWriteFallback(true);
  const QByteArray bytes = (lines.join(eol) + eol).toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw WriteError(QStringLiteral("Unable to write to %1").arg(path_).toStdString());
  }
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
  writeString(section, key, QString::number(value));
}
