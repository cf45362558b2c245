#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtTranslations(QCoreApplication& app, const QLocale& locale) {
  // qtbase holds the texts of the widgets and dialogs; owned by the application.
  auto* translator = new QTranslator(&app);
  // A Windows installation carries its own beside the program; elsewhere
  // they are the system's Qt's.
  const auto load = [&](const QString& dir) {
    return translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), dir);
  };
  if (!(load(QCoreApplication::applicationDirPath() + QStringLiteral("/translations")) ||
        load(QLibraryInfo::path(QLibraryInfo::TranslationsPath))) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}
