// The main window at its fixed size: every tab in view with the debug tab shown, the debug
// page's command list readable from its first character, and no field that cuts a text the
// program puts into it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <map>

#include "tests/ui/capturing_display.h"
#include "ui/tform_main.h"

namespace {

class MainWindowFit : public ::testing::Test {
 protected:
  MainWindowFit() : form_(dir_.filePath("Configurator.ini"), display_) {
    form_.show();
    QApplication::setActiveWindow(&form_);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form_));
  }

  void showDebugTab() {
    QTest::keyClick(&form_, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    auto* pages = form_.findChild<QTabWidget*>("PageControl1");
    ASSERT_TRUE(pages->isTabVisible(pages->indexOf(form_.findChild<QWidget*>("TabSheet3"))));
    QApplication::processEvents();
  }

  QTemporaryDir dir_;
  CapturingDisplay display_;
  TformMain form_;
};

TEST_F(MainWindowFit, AllSevenTabsFitTheTabBarWithTheDebugTabShown) {
  showDebugTab();
  auto* pages = form_.findChild<QTabWidget*>("PageControl1");
  QTabBar* bar = pages->tabBar();
  for (QToolButton* arrow : bar->findChildren<QToolButton*>())
    EXPECT_FALSE(arrow->isVisible()) << "scroll arrows shown";
  for (int i = 0; i < bar->count(); ++i) {
    const QRect tab = bar->tabRect(i);
    EXPECT_TRUE(bar->rect().contains(tab)) << pages->tabText(i).toStdString();
    EXPECT_GE(tab.width(), bar->fontMetrics().horizontalAdvance(pages->tabText(i)))
        << pages->tabText(i).toStdString();
  }
}

// An editable list whose text is wider than its field scrolls it to the end, cutting the
// command's code off the front.
TEST_F(MainWindowFit, EveryDebugCommandShowsFromItsFirstCharacter) {
  showDebugTab();
  auto* command = form_.findChild<QComboBox*>("cbCmd");
  ASSERT_NE(command, nullptr);
  QLineEdit* text = command->lineEdit();
  // QLineEdit keeps 2 pixels each side and a pixel for the cursor.
  const int room = text->contentsRect().marginsRemoved(text->textMargins()).width() - 2 * 2 - 1;
  for (int i = -1; i < command->count(); ++i) {
    command->setCurrentIndex(i);
    if (i < 0) command->setEditText(QStringLiteral("cbCmd"));
    EXPECT_LE(text->fontMetrics().horizontalAdvance(text->text()), room)
        << text->text().toStdString();
  }
}

// A value read from the instrument must be shown, and so written back, whole: a field keeps
// Qt's own limit unless its limit fits the widest value it is given.
TEST_F(MainWindowFit, NoFieldCutsATextSetByTheProgram) {
  const std::map<QString, QString> widest = {
      {"EditPribAdr", "255"},
      {"editPeriodFiltr", "255"},
      {"editPeriodArh", "255"},
      {"EditCorrect", "-9"},
  };
  const QString wide(40, u'7');
  for (QLineEdit* field : form_.findChildren<QLineEdit*>()) {
    if (!field->inputMask().isEmpty()) continue;
    const QString name =
        field->objectName().isEmpty() ? field->parentWidget()->objectName() : field->objectName();
    const auto limited = widest.find(name);
    const QString text = limited == widest.end() ? wide : limited->second;
    field->setText(text);
    EXPECT_EQ(field->text().toStdString(), text.toStdString()) << name.toStdString();
  }
  // The clock fields hold two digits a part, as the instrument's clock does.
  auto* date = form_.findChild<QLineEdit*>("MaskEdit_DataProc");
  auto* time = form_.findChild<QLineEdit*>("MaskEdit_TimeProc");
  const QChar separator = time->displayText().at(2);
  for (const auto& [day, clock] : {std::pair{"31.12.99", "23 59 59"}, {"01.01.00", "00 00 00"}}) {
    date->setText(QString::fromLatin1(day));
    time->setText(QString::fromLatin1(clock).replace(u' ', separator));
    EXPECT_EQ(date->displayText(), QString::fromLatin1(day));
    EXPECT_EQ(time->displayText(), QString::fromLatin1(clock).replace(u' ', separator));
  }
}

// The connection panel is 129 pixels wide and as high as the window leaves
// it: every control lies whole inside it, apart from the others, with room
// for its caption.
TEST_F(MainWindowFit, EveryConnectionPanelControlShowsWhole) {
  auto* panel = form_.findChild<QWidget*>("Panel1");
  ASSERT_NE(panel, nullptr);
  QList<QWidget*> controls;
  for (QWidget* widget : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (widget->isVisible()) controls << widget;
  ASSERT_GE(controls.size(), 17);
  for (int i = 0; i < controls.size(); ++i) {
    QWidget* control = controls[i];
    QString what = control->objectName();
    if (auto* label = qobject_cast<QLabel*>(control)) what = label->text();
    SCOPED_TRACE(what.toStdString());
    EXPECT_TRUE(panel->rect().contains(control->geometry()));
    for (int j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(control->geometry().intersects(controls[j]->geometry()))
          << controls[j]->objectName().toStdString();
    EXPECT_GE(control->height(), control->minimumSizeHint().height());
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      // A caption too long for one line breaks at its blanks.
      const QFontMetrics metrics = button->fontMetrics();
      const int glyph = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
      QStringList lines{button->text()};
      if (metrics.horizontalAdvance(button->text()) + 8 + glyph > button->width())
        lines = button->text().split(u' ');
      for (const QString& line : lines)
        EXPECT_GE(button->width(), metrics.horizontalAdvance(line) + 8 + glyph)
            << line.toStdString();
      EXPECT_GE(button->height(), metrics.height() * lines.size() + 4);
    } else if (qobject_cast<QLabel*>(control) || qobject_cast<QCheckBox*>(control)) {
      EXPECT_GE(control->width(), control->sizeHint().width());
    }
  }
}

}  // namespace
