#include <QApplication>
#include <cstdio>

#include "ui/application_icon.h"
#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/message_box_display.h"
#include "ui/program_arguments.h"
#include "ui/qt_translations.h"
#include "ui/settings_location.h"
#include "ui/termination_request.h"

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so that they need no display.
  if (const auto answer = AnswerWithoutWindow(argc, argv)) {
    std::fputs(answer->text.c_str(), stdout);
    return answer->exitCode;
  }
  CatchTerminationSignals();
  QApplication app(argc, argv);
  installQtTranslations(app);
  setApplicationTitle();
  setApplicationIcon();
  MessageBoxDisplay messages;
  ApplicationWindows windows(ApplicationSettingsFilePath(), messages);
  messages.setParent(&windows.formMain());
  CloseOnTerminationRequest(windows.formMain());
  windows.formMain().show();
  return QApplication::exec();
}
