#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (the file dialog's "Look in", "Save", "Cancel", the edit
// fields' context menu) in the language of `locale`, from the translations
// installed with Qt. False when none is installed for it: they stay English.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());
