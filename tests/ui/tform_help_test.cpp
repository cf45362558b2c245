// The help text as the user reads it: every line from the fourth on, character
// by character, typing errors and blanks included.

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "ui/tform_help.h"

namespace {

TEST(HelpText, LinesFromTheFourthOnReadExactly) {
  const QString rule(93, QLatin1Char('_'));
  const QStringList expected = {
      rule,
      QStringLiteral("Программа производит обмен с устройством по протоколу ModBus ASCII"),
      rule,
      QString(),
      QStringLiteral(
          "Порт                          - Выберите номер порта к которому подключено устройство"),
      QString(),
      QStringLiteral("Скорость                  - Dыберите скорость на которой вы будете "
                     "обмениваться с устройством"),
      QString(),
      QStringLiteral(
          "адержка на ответ  - Задержка между отправкой запроса и началом получением ответа"),
      QStringLiteral("                                     (Если после отправки запроса в течении "
                     "этого времени устройство не"),
      QStringLiteral("                                    ответило, то обмен прекращается "
                     "ивозвращается ошибка)"),
      QString(),
      QStringLiteral("Задержка обмена    - Период проверки количества получаемых байт"),
      QStringLiteral("                                     (Если устройство не передает данные в "
                     "течении этого времени,"),
      QStringLiteral("                                     то значит мы приняли весь пакет)"),
      rule,
      QString(),
      QString(),
      QStringLiteral(
          "Задержка общая     -  Ожидание конца передачи если данные идут непрерывно, то"),
      QStringLiteral("                                     по окончании этого времени обмен "
                     "прекращается и возвращается ошибка"),
      QString(),
      QStringLiteral("Команда                    - Команда протокола ModBus"),
      QString(),
      QStringLiteral(
          "Адрес                         - Адрес устройства в сети ModBus (Десятичный формат)"),
      QString(),
      QStringLiteral(
          "Нач.Адр                     - Начальный адрес регистра или реле (Десятичный формат)"),
      QString(),
      QStringLiteral(
          "Количество               - Количество регистров или реле (Десятичный формат)"),
      QString(),
      QString(),
      rule,
      QString(),
      QStringLiteral("Данные                     -  Область ввода отправляемых данных в коммандах "
                     "записать реле/записать настройки"),
      QStringLiteral("                                     Данные вводятся в виде "
                     "шестнадцатеричной строки с разделителями "),
      QStringLiteral("                                     Например:  0F 0F 01 02"),
      QString(),
      QStringLiteral("Запрос                       - Строка запроса отправляемая устройству"),
      QString(),
      QStringLiteral("Ответ                         - Строка ответа принятая от устройства"),
      QString(),
      QStringLiteral(
          "Данные                     - Строка ответа принятая от устройства в побайтовом виде,"),
      QStringLiteral("                                     без маркеров начала и конца пакета"),
      QStringLiteral(" "),
      rule,
      QString(),
      QStringLiteral(
          "Кнопка Обмен          - Выполняет отправку и прием пакета с выбранными параметрами"),
      QString(),
      rule,
      QString(),
      QStringLiteral("Коды ошибок возвращаемые программой:"),
      QStringLiteral("01h    - Аппаратная ошибка порта"),
      QStringLiteral("02h    - Устройство не ответило"),
      QStringLiteral("03h    - Ошибка открытия порта"),
      QStringLiteral("04h    - Нет начала маркера"),
      QStringLiteral("05h    - Пакет меньше минимальной длины"),
      QStringLiteral("06h    - Нет конца маркера  0Ah"),
      QStringLiteral("07h    - Нет конца маркера 0Dh"),
      QStringLiteral("08h    - Число байт внутри маркеров нечетное"),
      QStringLiteral("09h    - Ошибка контрольной суммы"),
      QString(),
      QStringLiteral("15h    - Ответило устройство с неверным адресом"),
      QStringLiteral("16h    - Устройсто отправило пакет с признаком ошибки"),
      QStringLiteral("17h    - В ответе содержиться неверный код команды"),
      QStringLiteral("18h    - Неверный счетчик количества байт в принятом пакете"),
      QStringLiteral("19h    - Неверная длина пакета"),
      QStringLiteral(
          "20h    - Не соответствие количества отправляемых данных числу введенных байт"),
  };
  TformHelp help;
  auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
  ASSERT_NE(memo, nullptr);
  const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 3 + expected.size());
  for (qsizetype i = 0; i < expected.size(); ++i)
    EXPECT_EQ(lines[3 + i], expected[i]) << "line " << 4 + i;
}

}  // namespace
