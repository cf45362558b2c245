// Every write of several requests against a simulator that refuses one of
// them with an exception, or falls silent after some: the failure message
// stays, and below it the window names what went in, what went out
// unconfirmed and what was not written; nothing is sent after the request
// that failed.

#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/simulated_window.h"

namespace {

class WriteReport : public SimulatedWindow {
 protected:
  WriteReport() : SimulatedWindow(20, sim::SimulatorOptions{}) {}
};

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// The message when request `failing` of a write fails; `reads` requests
// come before its blocks.
std::string expectedMessage(const std::vector<std::string>& blocks, size_t reads, size_t failing,
                            bool unconfirmed) {
  std::vector<std::string> written;
  std::vector<std::string> sent;
  std::vector<std::string> notWritten;
  for (size_t b = 0; b < blocks.size(); ++b) {
    const size_t request = reads + b;
    if (request < failing)
      written.push_back(blocks[b]);
    else if (request == failing && unconfirmed)
      sent.push_back(blocks[b]);
    else
      notWritten.push_back(blocks[b]);
  }
  std::string message = "Нет связи с прибором";
  if (written.empty() && sent.empty()) return message + "\nНичего не записано";
  if (!written.empty()) message += "\nЗаписано: " + joined(written);
  if (!sent.empty()) message += "\nОтправлено, не подтверждено: " + joined(sent);
  if (!notWritten.empty()) message += "\nНе записано: " + joined(notWritten);
  return message;
}

TEST_F(WriteReport, EachRequestOfEachWriteRefusedOrUnansweredNamesWhatWentIn) {
  struct Operation {
    const char* button;
    std::function<void()> prepare;
    size_t reads;
    std::vector<std::string> blocks;
  };
  const Operation operations[] = {
      {"BitBtnWriteNastrPrib",
       [&] { click("buttonReadNastrPrib"); },
       0,
       {"адрес, скорость, протокол, тип входа", "период фильтрации, период архивирования",
        "флажки функций"}},
      {"BitBtnWriteNatrUst",
       [&] { click("BitBtnReadNatrUst"); },
       0,
       {"положение запятой", "диапазоны", "уставки 1 и 2", "уставки 3 и 4"}},
      {"BitBtnWriteKoeff",
       [&] { click("BitBtnReadKoeff"); },
       0,
       {"к-ты выходного тока", "к-т температуры ХС", "к-ты входного тока", "к-ты 100мВ", "к-ты 1В",
        "к-ты сопротивления"}},
      {"BitBtnSetCurrent",
       [&] { child<QComboBox>("ComboBoxCalibrPoint")->setCurrentIndex(2); },
       1,
       {"выключение выходного тока", "команда установки тока"}},
  };
  for (const Operation& operation : operations) {
    operation.prepare();
    const size_t requests = operation.reads + operation.blocks.size();
    for (size_t failing = 0; failing < requests; ++failing) {
      for (const bool unanswered : {false, true}) {
        SCOPED_TRACE(std::string(operation.button) + ", request " + std::to_string(failing) +
                     (unanswered ? " unanswered" : " refused"));
        display_.messages.clear();
        simulator_.clearRequestLog();
        if (unanswered)
          simulator_.setSilentAfter(static_cast<int>(failing));
        else
          simulator_.setExceptionAt(static_cast<int>(failing) + 1);
        click(operation.button);
        simulator_.setSilentAfter(-1);
        simulator_.setExceptionAt(0);

        EXPECT_EQ(display_.messages,
                  (std::vector<Message>{
                      {Message::kError,
                       expectedMessage(operation.blocks, operation.reads, failing, unanswered)}}));
        const auto log = simulator_.requestLog();
        ASSERT_EQ(log.size(), failing + 1) << "nothing after the request that failed";
        EXPECT_EQ(log.back().how, unanswered ? sim::LoggedRequest::Answer::kSilent
                                             : sim::LoggedRequest::Answer::kException);
      }
    }
  }
}

}  // namespace
