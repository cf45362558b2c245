#include "sim/command_line.h"

#include <charconv>
#include <utility>

#include "sim/line_speed.h"
#include "sim/modbus_slave.h"

namespace sim {

namespace {

struct FaultName {
  std::string_view name;
  Fault fault;
};

constexpr FaultName kFaultNames[] = {
    {"none", Fault::kNone},
    {"silent", Fault::kSilent},
    {"bad-lrc", Fault::kBadLrc},
    {"wrong-address", Fault::kWrongAddress},
    {"exception", Fault::kExceptionAll},
    {"split", Fault::kSplitReply},
    {"stream", Fault::kEndlessStream},
    {"lower-case", Fault::kLowerCaseHex},
    {"delay", Fault::kExtraDelay},
};

constexpr int kMaxCount = 1000000000;

std::optional<int> parseInt(std::string_view text, int min, int max, int base = 10) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// Decimal, or hexadecimal after 0x.
std::optional<int> parseNumber(std::string_view text, int min, int max) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return parseInt(text.substr(2), min, max, 16);
  }
  return parseInt(text, min, max);
}

// One or two hex digits, 0x allowed: a byte as on the line ("00", "FF", "0A").
std::optional<int> parseHexByte(std::string_view text, int min) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(2);
  if (text.empty() || text.size() > 2) return std::nullopt;
  return parseInt(text, min, 0xFF, 16);
}

// N or N:CODE, the code in hex.
std::optional<std::pair<int, uint8_t>> parseExceptionAt(std::string_view text) {
  const std::size_t colon = text.find(':');
  const auto n = parseInt(text.substr(0, colon), 1, kMaxCount);
  if (!n) return std::nullopt;
  if (colon == std::string_view::npos) return std::pair{*n, exception_code::kDeviceFailure};
  const auto code = parseHexByte(text.substr(colon + 1), 1);
  if (!code) return std::nullopt;
  return std::pair{*n, static_cast<uint8_t>(*code)};
}

// SETPOINTS:RELAYS, four bits each.
std::optional<std::pair<uint8_t, uint8_t>> parseOutputs(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto setpoints = parseNumber(text.substr(0, colon), 0, 15);
  const auto relays = parseNumber(text.substr(colon + 1), 0, 15);
  if (!setpoints || !relays) return std::nullopt;
  return std::pair{static_cast<uint8_t>(*setpoints), static_cast<uint8_t>(*relays)};
}

std::optional<int> speedIndexOf(std::string_view text) {
  const std::optional<int> bps = parseInt(text, 0, 1000000);
  for (int i = 0; bps && i <= 6; ++i) {
    if (BitsPerSecondOfIndex(i) == *bps) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Fault> FaultByName(std::string_view name) {
  for (const FaultName& f : kFaultNames) {
    if (f.name == name) return f.fault;
  }
  return std::nullopt;
}

std::optional<ProgramOptions> ParseCommandLine(const std::vector<std::string>& args,
                                               std::string& error) {
  ProgramOptions o;
  bool addressGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      o.help = true;
      continue;
    }
    if (a == "--version") {
      o.version = true;
      continue;
    }
    if (a == "--any-speed") {
      o.simulator.checkLineSpeed = false;
      continue;
    }
    if (a == "--all-answer-zero") {
      o.simulator.allAnswerZero = true;
      continue;
    }
    if (a == "--pace") {
      o.simulator.pace = true;
      continue;
    }
    const bool takesValue = a == "-d" || a == "--device" || a == "-l" || a == "--link" ||
                            a == "-s" || a == "--speed" || a == "-a" || a == "--address" ||
                            a == "-t" || a == "--turnaround" || a == "-f" || a == "--fault" ||
                            a == "--fault-ms" || a == "--fault-word" || a == "--outputs" ||
                            a == "--tcp" || a == "--silent-after" || a == "--exception-at" ||
                            a == "--hangup-after" || a == "--back-after" || a == "--glitch";
    if (!takesValue) {
      error = "неизвестный параметр: " + a;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = "нет значения у параметра " + a;
      return std::nullopt;
    }
    const std::string& v = args[++i];
    const auto bad = [&]() {
      error = "неверное значение " + a + ": " + v;
      return std::nullopt;
    };
    if (a == "-d" || a == "--device") {
      o.simulator.device = v;
    } else if (a == "-l" || a == "--link") {
      o.simulator.linkPath = v;
    } else if (a == "-s" || a == "--speed") {
      const auto index = speedIndexOf(v);
      if (!index) return bad();
      o.simulator.interfaceBaudIndex = *index;
    } else if (a == "-a" || a == "--address") {
      const auto n = parseInt(v, 0, 255);
      if (!n) return bad();
      // Given again: one more instrument on the same line.
      if (addressGiven) {
        o.simulator.moreAddresses.push_back(static_cast<uint8_t>(*n));
      } else {
        o.simulator.networkAddress = static_cast<uint8_t>(*n);
      }
      addressGiven = true;
    } else if (a == "-t" || a == "--turnaround") {
      const auto n = parseInt(v, 0, 60000);
      if (!n) return bad();
      o.simulator.turnaroundMs = *n;
    } else if (a == "-f" || a == "--fault") {
      const auto f = FaultByName(v);
      if (!f) return bad();
      o.simulator.fault = *f;
    } else if (a == "--fault-ms") {
      const auto n = parseInt(v, 0, 600000);
      if (!n) return bad();
      o.simulator.faultParamMs = *n;
    } else if (a == "--fault-word") {
      const auto n = parseNumber(v, 0, 65535);
      if (!n) return bad();
      o.simulator.faultWord = static_cast<uint16_t>(*n);
    } else if (a == "--outputs") {
      const auto outputs = parseOutputs(v);
      if (!outputs) return bad();
      o.simulator.heldOutputs = outputs;
    } else if (a == "--silent-after") {
      const auto n = parseInt(v, 0, kMaxCount);
      if (!n) return bad();
      o.simulator.silentAfter = *n;
    } else if (a == "--exception-at") {
      const auto at = parseExceptionAt(v);
      if (!at) return bad();
      o.simulator.exceptionAt = at->first;
      o.simulator.exceptionCode = at->second;
    } else if (a == "--hangup-after") {
      const auto n = parseInt(v, 0, kMaxCount);
      if (!n) return bad();
      o.simulator.hangupAfter = *n;
    } else if (a == "--back-after") {
      const auto n = parseInt(v, 0, 600000);
      if (!n) return bad();
      o.simulator.backAfterMs = *n;
    } else if (a == "--glitch") {
      const auto n = parseHexByte(v, 0);
      if (!n) return bad();
      o.simulator.glitchByte = static_cast<uint8_t>(*n);
    } else {
      const auto n = parseInt(v, 0, 65535);
      if (!n) return bad();
      o.tcpPort = *n;
    }
  }
  if (o.simulator.backAfterMs >= 0 && o.simulator.hangupAfter < 0) {
    error = "--back-after действует только вместе с --hangup-after";
    return std::nullopt;
  }
  // Back under the same name: a new pseudo-terminal gets a new slave name.
  if (o.simulator.backAfterMs >= 0 && o.simulator.linkPath.empty() && o.simulator.device.empty()) {
    error = "--back-after требует --link или --device";
    return std::nullopt;
  }
  return o;
}

std::string HelpText() {
  return R"(Использование: ulm5-sim [параметры]

Имитатор прибора ULM5: ведомый Modbus ASCII на псевдотерминале или на
последовательном порту. Первая строка вывода - путь к устройству, которое
открывает конфигуратор. Ctrl+C завершает работу.

Параметры:
  -d, --device ПУТЬ     обслуживать этот последовательный порт вместо нового
                        псевдотерминала
  -l, --link ПУТЬ       создать символическую ссылку ПУТЬ на псевдотерминал
                        (существующая ссылка заменяется, удаляется при выходе)
  -s, --speed БОД       скорость интерфейса прибора: 2400, 4800, 9600, 19200,
                        38400, 57600 или 115200 (по умолчанию 115200); прибор
                        отвечает, только если конфигуратор открыл порт на этой
                        скорости
      --any-speed       отвечать на любой скорости
  -a, --address N       сетевой адрес прибора 0..255 (по умолчанию 1); прибор
                        отвечает на адрес 0 и на свой адрес; указанный ещё
                        раз добавляет на ту же линию ещё один прибор с этим
                        адресом (на адрес 0 отвечает только первый, если
                        не задан --all-answer-zero)
  -t, --turnaround МС   пауза от конца запроса до ответа (по умолчанию 3)
  -f, --fault ВИД       неисправность линии:
                          none           нет (по умолчанию)
                          silent         не отвечать
                          bad-lrc        неверная контрольная сумма ответа
                          wrong-address  ответ с чужим адресом
                          exception      ответ с признаком ошибки на всё
                          split          ответ двумя частями с паузой
                          stream         бесконечный поток без пауз
                          lower-case     шестнадцатеричные цифры строчными
                          delay          ответ с дополнительной задержкой
      --fault-ms МС     пауза для split (по умолчанию 1100), задержка для
                        delay (по умолчанию 2500)
      --fault-word СЛОВО
                        слово неисправностей прибора при запуске, десятичное
                        или 0x.... (по умолчанию 0)
      --outputs УСТ:РЕЛЕ
                        держать состояния уставок и реле: бит 0..3 на каждую
                        уставку и реле (1 - сработала, замкнуто), 0..15
                        десятичное или 0x., например 0x5:0x3 (по умолчанию
                        состояния следуют за измерением)
      --all-answer-zero на адрес 0 отвечают все приборы линии, каждый после
                        конца ответа предыдущего и своей паузы
      --silent-after N  ответить на первые N запросов, затем молчать (запросы
                        читаются, но не выполняются)
      --exception-at N[:КОД]
                        на N-й запрос (с 1) ответ с признаком ошибки и кодом
                        КОД (шестнадцатеричный, по умолчанию 04); запрос не
                        выполняется, остальные обслуживаются как обычно
      --hangup-after N  когда ответ на N-й запрос прочитан, закрыть линию:
                        держащий псевдотерминал видит обрыв, путь больше не
                        ведёт к устройству
      --back-after МС   через МС миллисекунд после обрыва создать новый
                        псевдотерминал под той же ссылкой --link (или снова
                        открыть --device) и отвечать как прежде; без этого
                        параметра линия не возвращается
      --glitch БАЙТ     перед каждым ответом послать этот байт
                        (шестнадцатеричный: 00, FF, 0A), как при
                        переключении приёмопередатчика
      --pace            передавать байты со скоростью линии, заданной
                        конфигуратором (10 бит на знак), и отвечать не раньше,
                        чем запрос дошёл бы до прибора на этой скорости
      --tcp ПОРТ        тестовый TCP-узел на 127.0.0.1:ПОРТ: на каждый
                        полученный текст отвечает коротким текстом
      --version         версия программы
  -h, --help            эта справка

Запросы для --silent-after, --exception-at и --hangup-after считаются с
запуска; в счёт идут только запросы, адресованные прибору на линии и
пришедшие на его скорости.
)";
}

}  // namespace sim
