#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableWidget>
#include <QTest>
#include <memory>
#include <vector>

#include "ui/archive_page.h"
#include "ui/calibration_page.h"
#include "ui/debug_page.h"
#include "ui/ethernet_page.h"
#include "ui/general_settings_page.h"
#include "ui/measurements_page.h"
#include "ui/setpoints_page.h"
#include "ui/tform_help.h"

namespace {

// The room a page gets inside the tab widget of the fixed-size main window.
constexpr int kPageWidth = 575;
constexpr int kPageHeight = 444;

// Hosts every page in a widget of the size the main window leaves for it, with layouts done.
class PagesLayout : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    hosts_ = new std::vector<std::unique_ptr<QWidget>>;
    const std::vector<QWidget*> pages = {
        new GeneralSettingsPage, new MeasurementsPage, new SetpointsPage, new CalibrationPage,
        new ArchivePage,         new DebugPage,        new EthernetPage};
    for (QWidget* page : pages) {
      auto host = std::make_unique<QWidget>();
      host->setFixedSize(kPageWidth, kPageHeight);
      page->setParent(host.get());
      page->setGeometry(0, 0, kPageWidth, kPageHeight);
      host->show();
      hosts_->push_back(std::move(host));
    }
    QApplication::processEvents();
  }

  static void TearDownTestSuite() {
    delete hosts_;
    hosts_ = nullptr;
  }

  static std::vector<QWidget*> pages() {
    std::vector<QWidget*> result;
    for (const auto& host : *hosts_) result.push_back(host->findChildren<QWidget*>().first());
    return result;
  }

  static QWidget* page(const char* name) {
    for (QWidget* candidate : pages())
      if (candidate->objectName() == QLatin1String(name)) return candidate;
    return nullptr;
  }

  template <typename T>
  static T* control(const char* name) {
    for (QWidget* candidate : pages())
      if (T* found = candidate->findChild<T*>(QLatin1String(name))) return found;
    return nullptr;
  }

  // The controls a user sees, without the parts Qt builds inside composite widgets.
  static QList<QWidget*> visibleControls(QWidget* root) {
    QList<QWidget*> result;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
      if (!widget->isVisible()) continue;
      const bool control = qobject_cast<QLabel*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                           qobject_cast<QComboBox*>(widget) || qobject_cast<QPushButton*>(widget) ||
                           qobject_cast<QCheckBox*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                           qobject_cast<QAbstractScrollArea*>(widget);
      bool inner = false;
      for (QWidget* up = widget->parentWidget(); up != nullptr && up != root;
           up = up->parentWidget())
        inner = inner || qobject_cast<QComboBox*>(up) || qobject_cast<QAbstractScrollArea*>(up);
      if (control && !inner) result << widget;
    }
    return result;
  }

  static std::vector<std::unique_ptr<QWidget>>* hosts_;
};

std::vector<std::unique_ptr<QWidget>>* PagesLayout::hosts_ = nullptr;

QString describe(const QWidget* widget) {
  const QString name =
      widget->objectName().isEmpty() ? QString::fromLatin1("(unnamed)") : widget->objectName();
  QString text;
  if (auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) text = group->title();
  return QStringLiteral("%1 %2 \"%3\"")
      .arg(QString::fromLatin1(widget->metaObject()->className()), name, text);
}

enum class Kind { Button, CheckBox, StaticText, Edit, List, Group };

struct Expected {
  const char* page;
  const char* name;
  Kind kind;
  const char* text;  // caption, title or initial text
};

// A representative control of every kind on every page, with the texts the instrument's users
// know, typing errors and blanks included.
const Expected kExpected[] = {
    {"TabSheet1", "GroupBoxConfig", Kind::Group, " Конфигурация прибора "},
    {"TabSheet1", "BitBtnSaveConfig", Kind::Button, "Сохранить конфигурацию…"},
    {"TabSheet1", "BitBtnLoadConfig", Kind::Button, "Загрузить конфигурацию…"},
    {"TabSheet1", "BitBtnCompareConfig", Kind::Button, "Сравнить с файлом…"},
    {"TabSheet2", "GroupBox17", Kind::Group, " Неисправности прибора "},
    {"TabSheet2", "StaticTextErr", Kind::StaticText, "Код ошибки:"},
    {"TabSheet2", "StaticTextErr5V", Kind::StaticText, "Состояние цепи 5V"},
    {"TabSheet2", "StaticTextErrTmp123", Kind::StaticText, "Состояние датчика темп."},
    {"TabSheet2", "StaticTextErrDat", Kind::StaticText, "Состояние датчика"},
    {"TabSheet2", "StaticTextIzmerDateTime", Kind::StaticText, ""},
    {"TabSheet2", "StaticTextSostRele4", Kind::StaticText, ""},
    {"TabSheet2", "BitBtnIzmerStart", Kind::Button, "Начать измерение"},
    {"TabSheet2", "BitBtnIzmerStop", Kind::Button, "Остановить измерение"},
    {"TabSheet2", "CheckBox1", Kind::CheckBox, "Получить измеренияпо Ethernet"},
    {"TabSheet4", "ComboBoxPolZap", Kind::List, "0000|000.0|00.00|0.000"},
    {"TabSheet4", "ComboBoxNastrPribUstType2", Kind::List, "Меньше|Больше"},
    {"TabSheet4", "ComboBoxNastrPribUstVid3", Kind::List, "Значение|Скорость"},
    {"TabSheet4", "ComboBoxNastrPribUstReleStart4", Kind::List, "Разомкнуто|Замкнуто"},
    {"TabSheet4", "ComboBoxNastrPribUstReleObr1", Kind::List, "Разомкнуто|Замкнуто"},
    {"TabSheet4", "BitBtnReadNatrUst", Kind::Button, "Считать из прибора"},
    {"TabSheet4", "BitBtnWriteNatrUst", Kind::Button, "Записать в прибор"},
    {"TabSheet5", "GroupBoxKoeffIout", Kind::Group, "К-ты выходного тока"},
    {"TabSheet5", "GroupBoxKoeffXC", Kind::Group, "К-т температуры ХС"},
    {"TabSheet5", "EditKoeffIout1", Kind::Edit, ""},
    {"TabSheet5", "EditKoeffXC", Kind::Edit, ""},
    {"TabSheet5", "BitBtnReadKoeff", Kind::Button, "Считать коэффициенты калибровки"},
    {"TabSheet5", "BitBtn3", Kind::Button, "Установить коэффициенты для работы"},
    {"TabSheet5", "BitBtnWriteKoeff", Kind::Button, "Записать коэффициенты калибровки"},
    {"TabSheet5", "BitBtnProtocol", Kind::Button, "Протокол калибровки…"},
    {"TabSheet5", "GroupBoxCalibr", Kind::Group, " Калибровка прибора "},
    {"TabSheet5", "Label1", Kind::StaticText, "Значение для калибровки:"},
    {"TabSheet5", "EditZnacKalibr", Kind::Edit, ""},
    {"TabSheet5", "BitBtnSetCurrent", Kind::Button, "Установить ток"},
    {"TabSheet5", "BitBtnCalibPoint", Kind::Button, "Калибровка точки"},
    {"TabSheet5", "BitBtn2", Kind::Button, "Калибровать все"},
    {"TabSheet6", "GroupBoxArh", Kind::Group, " Чтение записей архива "},
    {"TabSheet6", "EditColZap", Kind::Edit, "20"},
    {"TabSheet6", "BitBtnReadArh", Kind::Button, "Читать"},
    {"TabSheet6", "BitBtnCancelReadArh", Kind::Button, "Отменить"},
    {"TabSheet6", "BitBtn4", Kind::Button, "Сохранить в файл"},
    {"TabSheet6", "BitBtn5", Kind::Button, "Загрузить из файла"},
    {"TabSheet6", "ButtonLast", Kind::Button, "Последняя запись"},
    {"TabSheet6", "ButtonFirst", Kind::Button, "Первая запись"},
    {"TabSheet3", "GroupBoxInterface", Kind::Group, " Интерфейс "},
    {"TabSheet3", "GroupBoxModBus", Kind::Group, " ModBus "},
    {"TabSheet3", "cbBaud", Kind::List, "2400|4800|9600|19200|38400|57600|115200"},
    {"TabSheet3", "cbCmd", Kind::List,
     "01h Читать реле|02h Читать входа|03h Читать настройки|04h Читать данные|0Fh Записать "
     "реле|10h Записать настройки"},
    {"TabSheet3", "editZader", Kind::Edit, ""},
    {"TabSheet3", "editAdr", Kind::Edit, ""},
    {"TabSheet3", "Button1", Kind::Button, "?"},
    {"TabSheet3", "EditData", Kind::Edit, ""},
    {"TabSheet3", "editQuery", Kind::Edit, ""},
    {"TabSheet3", "editObrQwery", Kind::Edit, ""},
    {"TabSheet3", "btnObmen", Kind::Button, "Обмен"},
    {"TabSheet3", "stSec", Kind::StaticText, ""},
    {"TabSheet7", "GroupBoxIPConnect", Kind::Group, " Подключение к ULM5"},
    {"TabSheet7", "EditIPPort", Kind::Edit, "5000"},
    {"TabSheet7", "StaticTextStatusIP", Kind::StaticText, ""},
    {"TabSheet7", "BitBtnIPConnect", Kind::Button, "Подключиться к ULM5"},
    {"TabSheet7", "BitBtnIPDisconnect", Kind::Button, "Отключиться от ULM5"},
    {"TabSheet7", "ButtonIPWrite", Kind::Button, "Записать в прибор"},
    {"TabSheet7", "StaticTextIPRead", Kind::StaticText, ""},
    {"TabSheet7", "GroupBoxIPNastr", Kind::Group, " Настройка "},
    {"TabSheet7", "EditNastrIP", Kind::Edit, "Edit1"},
    {"TabSheet7", "EditNastrIPPort", Kind::Edit, "Edit2"},
    {"TabSheet7", "BitBtnWriteNastrIP", Kind::Button, "Записать в прибор"},
};

TEST_F(PagesLayout, EveryControlHasItsNameKindAndText) {
  for (const Expected& expected : kExpected) {
    SCOPED_TRACE(expected.name);
    QWidget* owner = page(expected.page);
    ASSERT_NE(owner, nullptr);
    QWidget* widget = owner->findChild<QWidget*>(QLatin1String(expected.name));
    ASSERT_NE(widget, nullptr);
    const QString text = QString::fromUtf8(expected.text);
    switch (expected.kind) {
      case Kind::Button: {
        auto* button = qobject_cast<QPushButton*>(widget);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), text);
        break;
      }
      case Kind::CheckBox: {
        auto* box = qobject_cast<QCheckBox*>(widget);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), text);
        EXPECT_FALSE(box->isChecked());
        break;
      }
      case Kind::StaticText: {
        auto* label = qobject_cast<QLabel*>(widget);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), text);
        break;
      }
      case Kind::Edit: {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), text);
        EXPECT_FALSE(edit->isReadOnly());
        break;
      }
      case Kind::List: {
        auto* list = qobject_cast<QComboBox*>(widget);
        ASSERT_NE(list, nullptr);
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        EXPECT_EQ(items.join(QLatin1Char('|')), text);
        // Lists start without a selection; the main window selects defaults when first shown.
        EXPECT_EQ(list->currentIndex(), -1);
        break;
      }
      case Kind::Group: {
        auto* group = qobject_cast<QGroupBox*>(widget);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), text);
        break;
      }
    }
  }
}

// The main window finds controls by name across all its pages and its connection panel, whose
// fields are named Edit1 and Edit2: a second control of the same name would be found instead.
TEST_F(PagesLayout, ControlNamesAreUniqueAcrossPages) {
  QSet<QString> seen;
  for (QWidget* owner : pages()) {
    for (QWidget* widget : owner->findChildren<QWidget*>()) {
      const QString name = widget->objectName();
      if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
      EXPECT_FALSE(seen.contains(name)) << name.toStdString();
      seen.insert(name);
    }
  }
  for (const char* panelName : {"Edit1", "Edit2", "ComboBoxPort", "ComboBoxBaudSys", "BitBtn1",
                                "BitBtn6", "ComboBox1", "TabSheet1"})
    EXPECT_FALSE(seen.contains(QLatin1String(panelName))) << panelName;
}

TEST_F(PagesLayout, ControlsLieInsideTheirPage) {
  for (QWidget* owner : pages()) {
    for (QWidget* widget : visibleControls(owner)) {
      const QRect onPage(widget->mapTo(owner, QPoint(0, 0)), widget->size());
      EXPECT_TRUE(owner->rect().contains(onPage))
          << owner->objectName().toStdString() << ": " << describe(widget).toStdString() << " at "
          << onPage.x() << "," << onPage.y() << " " << onPage.width() << "x" << onPage.height();
    }
  }
}

TEST_F(PagesLayout, VisibleSiblingsDoNotOverlap) {
  for (QWidget* owner : pages()) {
    const QList<QWidget*> controls = visibleControls(owner);
    for (int i = 0; i < controls.size(); ++i) {
      for (int j = i + 1; j < controls.size(); ++j) {
        if (controls[i]->parentWidget() != controls[j]->parentWidget()) continue;
        EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
            << owner->objectName().toStdString() << ": " << describe(controls[i]).toStdString()
            << " overlaps " << describe(controls[j]).toStdString();
      }
    }
  }
}

// A control squeezed below what its text needs shows a cut caption.
TEST_F(PagesLayout, CaptionsAreNotClipped) {
  for (QWidget* owner : pages()) {
    for (QWidget* widget : visibleControls(owner)) {
      const std::string what =
          owner->objectName().toStdString() + ": " + describe(widget).toStdString();
      if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->wordWrap())
          EXPECT_GE(label->height(), label->heightForWidth(label->width())) << what;
        else
          EXPECT_GE(label->width(), label->sizeHint().width()) << what;
      } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        // The style's preferred width has a floor of its own; what matters is room for the
        // glyph and the caption inside the bevel.
        int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        if (!button->icon().isNull()) needed += button->iconSize().width() + 4;
        EXPECT_GE(button->width(), needed) << what;
        EXPECT_GE(button->height(), button->minimumSizeHint().height()) << what;
      } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
        EXPECT_LE(title.right(), group->rect().right()) << what;
      } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        // The calibration point list is meant to be narrower than its longest item.
        if (list->sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow) {
          EXPECT_GE(list->width(), list->sizeHint().width()) << what;
        }
        EXPECT_GE(list->height(), list->minimumSizeHint().height()) << what;
      } else {
        EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << what;
      }
    }
  }
}

// Texts in these fields come from the instrument or the network and must never be interpreted.
TEST_F(PagesLayout, StaticTextsArePlainText) {
  for (QWidget* owner : pages())
    for (QLabel* label : owner->findChildren<QLabel*>())
      EXPECT_EQ(label->textFormat(), Qt::PlainText) << describe(label).toStdString();
}

TEST_F(PagesLayout, SetpointValueFieldsStartWithFourBlankPositions) {
  QStringList names = {QStringLiteral("MaskEditY0"), QStringLiteral("MaskEditYK"),
                       QStringLiteral("MaskEditZ0"), QStringLiteral("MaskEditZK")};
  for (int n = 1; n <= 4; ++n)
    names << QStringLiteral("MaskEditNastrPribUst%1").arg(n)
          << QStringLiteral("MaskEditNastrPribZona%1").arg(n);
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    auto* field = control<QLineEdit>(name.toLatin1().constData());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->inputMask(), QStringLiteral("#000;_"));
    EXPECT_EQ(field->displayText(), QStringLiteral("____"));
    EXPECT_EQ(field->maxLength(), 4);
    EXPECT_EQ(field->text().trimmed(), QString());
  }
}

TEST_F(PagesLayout, SetpointGridHasFourColumnsOfSevenRows) {
  for (int n = 1; n <= 4; ++n) {
    const QByteArray suffix = QByteArray::number(n);
    const QList<QByteArray> column = {
        "CheckBoxUst" + suffix + "Vkl",         "MaskEditNastrPribUst" + suffix,
        "MaskEditNastrPribZona" + suffix,       "ComboBoxNastrPribUstType" + suffix,
        "ComboBoxNastrPribUstVid" + suffix,     "ComboBoxNastrPribUstReleStart" + suffix,
        "ComboBoxNastrPribUstReleObr" + suffix,
    };
    int previousBottom = -1;
    int left = -1;
    for (const QByteArray& name : column) {
      SCOPED_TRACE(name.constData());
      QWidget* widget = control<QWidget>(name.constData());
      ASSERT_NE(widget, nullptr);
      const QRect onPage(widget->mapTo(page("TabSheet4"), QPoint(0, 0)), widget->size());
      EXPECT_GT(onPage.top(), previousBottom);
      if (left >= 0) {
        EXPECT_NEAR(onPage.left(), left, 4);
      }
      left = onPage.left();
      previousBottom = onPage.bottom();
    }
  }
  const QRect first = control<QWidget>("MaskEditNastrPribUst1")->geometry();
  const QRect fourth = control<QWidget>("MaskEditNastrPribUst4")->geometry();
  EXPECT_EQ(first.top(), fourth.top());
  EXPECT_LT(first.right(), fourth.left());
}

TEST_F(PagesLayout, IndicatorsStartInTheirInactiveColours) {
  auto background = [](const char* name) {
    QLabel* label = control<QLabel>(name);
    EXPECT_NE(label, nullptr) << name;
    EXPECT_TRUE(label == nullptr || label->autoFillBackground()) << name;
    return label == nullptr ? QColor() : label->palette().color(QPalette::Window);
  };
  const QColor buttonFace = QApplication::palette().color(QPalette::Button);
  for (const char* name :
       {"StaticTextErr5V", "StaticTextErr3V", "StaticTextErrBat", "StaticTextErrI2C",
        "StaticTextErrEEPROM", "StaticTextErrSPI", "StaticTextErrFlash", "StaticTextErrIndic",
        "StaticTextErrTmp123", "StaticTextErrADC", "StaticTextErrDat"})
    EXPECT_EQ(background(name), buttonFace) << name;
  for (const char* name :
       {"StaticTextSostUst1", "StaticTextSostUst2", "StaticTextSostUst3", "StaticTextSostUst4"})
    EXPECT_EQ(background(name), QColor(0xC0, 0xC0, 0xC0)) << name;
  EXPECT_TRUE(control<QLabel>("StaticTextErr")->font().bold());
}

TEST_F(PagesLayout, CalibrationPointsAreIndexedByTheirCode) {
  auto* points = control<QComboBox>("ComboBoxCalibrPoint");
  ASSERT_NE(points, nullptr);
  ASSERT_EQ(points->count(), 26);
  for (int code = 0; code < points->count(); ++code)
    EXPECT_TRUE(points->itemText(code).startsWith(
        QStringLiteral("A%1 ").arg(code, 2, 10, QLatin1Char('0'))))
        << points->itemText(code).toStdString();
  EXPECT_EQ(
      points->itemText(0),
      QStringLiteral("A00 Калиброка выходного тока: точка 4 мА (ввод от 3000мкА до 5000 мкА)"));
  EXPECT_EQ(points->itemText(6), QStringLiteral("A06 Калибровка  входного тока: точка 4мА"));
  EXPECT_EQ(points->itemText(12), QStringLiteral("A12 Калибровка 100мВ: точка  25мВ"));
  EXPECT_FALSE(points->isEditable());

  // The list spans the calibration group; its popup is free to be wider.
  auto* group = control<QGroupBox>("GroupBoxCalibr");
  EXPECT_GE(points->width(), group->width() - 20);
}

TEST_F(PagesLayout, CalibrationGroupsAreArrangedInTwoRows) {
  for (const char* name : {"GroupBoxKoeffIout", "GroupBoxKoeffIIn", "GroupBoxKoeff100mV",
                           "GroupBoxKoeff1V", "GroupBoxKoeffR", "GroupBoxKoeffXC", "GroupBoxCalibr",
                           "BitBtnReadKoeff", "BitBtn3", "BitBtnWriteKoeff"})
    ASSERT_NE(control<QWidget>(name), nullptr) << name;
  auto topOf = [](const char* name) { return control<QWidget>(name)->y(); };
  auto leftOf = [](const char* name) { return control<QWidget>(name)->x(); };
  for (const char* top : {"GroupBoxKoeffIIn", "GroupBoxKoeff100mV", "GroupBoxKoeff1V"})
    EXPECT_EQ(topOf(top), topOf("GroupBoxKoeffIout")) << top;
  EXPECT_LT(leftOf("GroupBoxKoeffIout"), leftOf("GroupBoxKoeffIIn"));
  EXPECT_LT(leftOf("GroupBoxKoeffIIn"), leftOf("GroupBoxKoeff100mV"));
  EXPECT_LT(leftOf("GroupBoxKoeff100mV"), leftOf("GroupBoxKoeff1V"));
  EXPECT_GT(topOf("GroupBoxKoeffR"), topOf("GroupBoxKoeffIout"));
  EXPECT_EQ(leftOf("GroupBoxKoeffR"), leftOf("GroupBoxKoeffIout"));
  EXPECT_EQ(leftOf("GroupBoxKoeffXC"), leftOf("GroupBoxKoeffIIn"));
  EXPECT_GT(topOf("GroupBoxCalibr"), topOf("GroupBoxKoeffR"));

  // BitBtn3 stands between the read and the write button, right of the lower groups.
  const QWidget* page5 = page("TabSheet5");
  auto onPage = [page5](const char* name) {
    QWidget* widget = control<QWidget>(name);
    return QRect(widget->mapTo(page5, QPoint(0, 0)), widget->size());
  };
  const QRect xc = onPage("GroupBoxKoeffXC");
  for (const char* button : {"BitBtnReadKoeff", "BitBtn3", "BitBtnWriteKoeff"})
    EXPECT_GT(onPage(button).left(), xc.right()) << button;
  EXPECT_LT(onPage("BitBtnReadKoeff").top(), onPage("BitBtn3").top());
  EXPECT_LT(onPage("BitBtn3").top(), onPage("BitBtnWriteKoeff").top());
}

TEST_F(PagesLayout, ArchiveGridIsReadOnlyWithFiveColumns) {
  auto* grid = control<QTableWidget>("StringGridArh");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->columnCount(), 5);
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(grid->horizontalHeader()->isVisible());
  EXPECT_FALSE(grid->verticalHeader()->isVisible());
  EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 16);
  grid->setRowCount(21);
  EXPECT_EQ(grid->rowHeight(20), 16);
  grid->setRowCount(1);
  for (const char* hidden : {"ButtonLast", "ButtonPrevious", "ButtonNext", "ButtonFirst"}) {
    auto* button = control<QPushButton>(hidden);
    ASSERT_NE(button, nullptr) << hidden;
    EXPECT_TRUE(button->isHidden()) << hidden;
  }
}

TEST_F(PagesLayout, DebugListsAreEditableAndShowTheirNames) {
  for (const char* name : {"cbPort", "cbBaud", "cbCmd"}) {
    SCOPED_TRACE(name);
    auto* list = control<QComboBox>(name);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isEditable());
    EXPECT_EQ(list->currentText(), QLatin1String(name));
    EXPECT_EQ(list->currentIndex(), -1);
  }
  auto* ports = control<QComboBox>("cbPort");
  ASSERT_EQ(ports->count(), 16);
  EXPECT_EQ(ports->itemText(0), QStringLiteral("COM1"));
  EXPECT_EQ(ports->itemText(15), QStringLiteral("COM16"));
}

TEST_F(PagesLayout, DebugDisplayFieldsStandInThreeColumns) {
  const char* const columns[3][4] = {{"stSec", "stMin", "stHour", nullptr},
                                     {"stDayWeek", "stDay", "stMonth", "stYear"},
                                     {"stFlagError", "stFiz", "stVal", "stXC"}};
  int previousLeft = -1;
  for (const auto& column : columns) {
    ASSERT_NE(control<QWidget>(column[0]), nullptr) << column[0];
    const int left = control<QWidget>(column[0])->x();
    EXPECT_GT(left, previousLeft);
    previousLeft = left;
    int previousTop = -1;
    for (const char* name : column) {
      if (name == nullptr) break;
      QWidget* field = control<QWidget>(name);
      ASSERT_NE(field, nullptr) << name;
      EXPECT_EQ(field->x(), left) << name;
      EXPECT_GT(field->y(), previousTop) << name;
      previousTop = field->y();
    }
  }
}

TEST(HelpWindow, IsAFixedWindowFilledByItsText) {
  TformHelp help;
  EXPECT_EQ(help.windowTitle(), QStringLiteral("Помощь"));
  EXPECT_EQ(help.minimumSize(), QSize(582, 373));
  EXPECT_EQ(help.maximumSize(), QSize(582, 373));
  EXPECT_FALSE(help.windowFlags() & Qt::WindowMaximizeButtonHint);
  help.show();
  QApplication::processEvents();
  auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->geometry(), help.rect());
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(HelpWindow, HoldsSixtyNineLinesWithTheirOwnSpelling) {
  TformHelp help;
  auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 69);
  EXPECT_EQ(lines, TformHelp::helpLines());
  EXPECT_EQ(lines[3], QString(93, QLatin1Char('_')));
  // Line 10 starts its verb with a Latin D; line 37 ends in a blank; line 46 is one blank.
  EXPECT_TRUE(lines[9].contains(QStringLiteral("- Dыберите скорость")));
  EXPECT_TRUE(lines[36].endsWith(QStringLiteral("с разделителями ")));
  EXPECT_EQ(lines[45], QStringLiteral(" "));
  EXPECT_TRUE(lines[11].startsWith(QStringLiteral("адержка на ответ  -")));
  EXPECT_EQ(lines[52], QStringLiteral("Коды ошибок возвращаемые программой:"));
  EXPECT_EQ(lines[68],
            QStringLiteral(
                "20h    - Не соответствие количества отправляемых данных числу введенных байт"));
  for (const QString& line : lines.mid(0, 3)) EXPECT_FALSE(line.isEmpty());
}

TEST(HelpWindow, TextCannotBeEdited) {
  TformHelp help;
  help.show();
  QApplication::processEvents();
  auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  const QString before = memo->toPlainText();
  memo->setFocus();
  QTest::keyClicks(memo, QStringLiteral("xyz"));
  QTest::keyClick(memo, Qt::Key_Backspace);
  QTest::keyClick(memo, Qt::Key_Delete);
  QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->toPlainText(), before);
}

}  // namespace
