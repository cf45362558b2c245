// "Найти" and "Сканировать линию" of the main window against the simulator
// on a pseudo-terminal (115200 bit/s, turnaround 3 ms), in real time: how
// long "Найти" takes with the window's timing (the standard set waits its
// response delay, 2000 ms, and more) and with "Быстрый обмен" (ends once
// the answer is in), and how long a scan of the whole line takes with three
// units on it. Runs on the offscreen platform.
//
// bench_find [--no-scan]

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/ui/window_on_simulator.h"
#include "ui/tform_main.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Each press of "Найти" at the panel's address 0, the median of kRounds.
double findMs(TformMain& form, bool fast) {
  form.findChild<QCheckBox*>(QStringLiteral("CheckBoxFastExchange"))->setChecked(fast);
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    form.BitBtnFindPribClick();
    times.push_back(msSince(start));
  }
  return median(times);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const bool scan = !(argc > 1 && std::strcmp(argv[1], "--no-scan") == 0);

  sim::SimulatorOptions options;
  options.turnaroundMs = 3;
  options.moreAddresses = {9, 247};
  WindowOnSimulator session(options);
  TformMain& form = session.form();

  const double windowTiming = findMs(form, false);
  const double fast = findMs(form, true);
  const bool found =
      !form.findChild<QLabel*>(QStringLiteral("statictextPribSerial"))->text().isEmpty();
  std::printf("Найти: %.0f ms with the window's timing, %.1f ms with the fast exchange\n",
              windowTiming, fast);
  double scanMs = 0;
  if (scan) {
    const auto start = Clock::now();
    form.BitBtnScanLineClick();
    scanMs = msSince(start);
    std::printf("Сканировать линию (1..247, three units): %.0f ms\n", scanMs);
  }
  form.close();
  if (!found) {
    std::fprintf(stderr, "no instrument found\n");
    return 1;
  }
  std::printf("BENCH find window_ms=%.0f fast_ms=%.1f ratio=%.1f scan_ms=%.0f\n", windowTiming,
              fast, windowTiming / fast, scanMs);
  return 0;
}
