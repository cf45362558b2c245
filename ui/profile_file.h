#pragma once

#include <QString>
#include <stdexcept>

#include "settings/profile_text.h"

// A settings file in the Windows initialization-file format, with the rules
// of settings::ProfileText. Nothing is cached: each read loads the file and
// each write rewrites it at once, so two objects on the same path always
// agree.
class ProfileFile {
 public:
  // Raised by a write the platform refuses; the text names the path.
  class WriteError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };

  explicit ProfileFile(QString path);

  const QString& path() const { return path_; }

  // False when the path names something that exists but cannot be read as a
  // file (a directory, a file without read permission). A file that does not
  // exist is fine: reads give their defaults and the first write creates it.
  bool isUsable() const;

  QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
  // A value that is not a decimal integer (blanks around it allowed) reads as
  // the default, as does a missing key.
  int readInteger(const QString& section, const QString& key, int defaultValue) const;

  void writeString(const QString& section, const QString& key, const QString& value);
  void writeInteger(const QString& section, const QString& key, int value);

  // The file as it is now; empty when it cannot be read.
  settings::ProfileText load() const;

 private:
  QString path_;
};
