#include "ui/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

namespace {

// Qt's own buttons and dialogs speak the window's language once its
// translations are loaded (Debian's qt6-translations-l10n).
TEST(QtTranslations, RussianLocaleGivesQtsDialogsRussianTexts) {
  QCoreApplication& app = *QCoreApplication::instance();
  const auto before = app.findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).size();
  ASSERT_TRUE(installQtTranslations(app, QLocale(QLocale::Russian, QLocale::Russia)));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save"), "&Сохранить");
  // The other tests see Qt's texts as they were.
  const auto translators = app.findChildren<QTranslator*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(translators.size(), before + 1);
  delete translators.back();
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

}  // namespace
