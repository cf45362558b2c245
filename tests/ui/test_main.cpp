#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>

// Widgets need a QApplication; the offscreen platform keeps the tests free of a display.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt takes its locale from the environment even when the C library has none
  // of that name: a run asked for a missing locale would test half of it.
  if (std::setlocale(LC_ALL, "") == nullptr && !qEnvironmentVariableIsEmpty("LC_ALL")) {
    std::fprintf(stderr, "locale %s is not installed (localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)\n",
                 qgetenv("LC_ALL").constData());
    return 1;
  }
  QApplication app(argc, argv);
  // The windows' writes go to a log of the run's own, never the user's.
  const QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toUtf8());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
