// Typing into the value fields of the page "Уставки": a decimal separator, "," or ".", puts
// what was typed before it against the point. The keys are the same in every locale.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "device/scaled_value_text.h"
#include "ui/setpoints_page.h"
#include "ui/value_field.h"

namespace {

const char* const kValueFields[] = {
    "MaskEditY0",
    "MaskEditYK",
    "MaskEditZ0",
    "MaskEditZK",
    "MaskEditNastrPribUst1",
    "MaskEditNastrPribUst2",
    "MaskEditNastrPribUst3",
    "MaskEditNastrPribUst4",
    "MaskEditNastrPribZona1",
    "MaskEditNastrPribZona2",
    "MaskEditNastrPribZona3",
    "MaskEditNastrPribZona4",
};

struct Typing {
  int code;          // decimal-point position
  bool selectAll;    // the user selects the field first, else types from its start
  const char* keys;  // what the user types
  const char* shown;
};

const Typing kTypings[] = {
    {1, true, "12,5", "012.5"},  {1, true, "12.5", "012.5"},  {1, false, "12,5", "012.5"},
    {1, true, "1,", "001._"},    {1, true, ",5", "000.5"},    {1, true, "123,4", "123.4"},
    {1, true, "-1,5", "-01.5"},  {1, true, "-12.3", "-12.3"}, {1, true, "-,7", "-00.7"},
    {1, true, "+3,2", "+03.2"},  {1, true, ",", "000._"},     {1, false, "1,", "001.0"},
    {2, true, "1,25", "01.25"},  {2, true, "1.5", "01.5_"},   {2, true, "-,05", "-0.05"},
    {2, true, "12,34", "12.34"}, {2, false, "-1.2", "-1.20"}, {3, true, ",125", "0.125"},
    {3, true, "0,125", "0.125"}, {3, true, "2.5", "2.5__"},   {0, true, "12,5", "125_"},
    {0, true, "12.5", "125_"},
};

TEST(SetpointTyping, ADecimalSeparatorAlignsTheDigitsBeforeThePoint) {
  SetpointsPage page;
  auto* field = page.findChild<QLineEdit*>(QStringLiteral("MaskEditNastrPribUst1"));
  ASSERT_NE(field, nullptr);
  for (const Typing& t : kTypings) {
    page.selectDecimalPoint(t.code);
    ShowValueField(*field, device::RawCountText(800, t.code));
    if (t.selectAll)
      QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    else
      QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, QString::fromLatin1(t.keys));
    EXPECT_EQ(field->displayText(), QString::fromLatin1(t.shown))
        << "code " << t.code << (t.selectAll ? ", selected, typed " : ", typed ") << t.keys;
  }
}

TEST(SetpointTyping, EveryValueFieldTakesTheSeparator) {
  SetpointsPage page;
  page.selectDecimalPoint(1);
  for (const char* name : kValueFields) {
    auto* field = page.findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_NE(field, nullptr) << name;
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, QStringLiteral("12,5"));
    EXPECT_EQ(field->displayText(), QStringLiteral("012.5")) << name;
  }
}

// A count too wide for the mask shows unmasked; there the separator is an ordinary character.
TEST(SetpointTyping, AnUnmaskedFieldTakesTheSeparatorAsTyped) {
  SetpointsPage page;
  page.selectDecimalPoint(1);
  auto* field = page.findChild<QLineEdit*>(QStringLiteral("MaskEditY0"));
  ShowValueField(*field, device::RawCountText(12345, 1));
  ASSERT_TRUE(field->inputMask().isEmpty());
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, QStringLiteral("12,5"));
  EXPECT_EQ(field->text(), QStringLiteral("12,5"));
}

}  // namespace
