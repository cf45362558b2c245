#include <QApplication>
#include <cstdio>
#include <cstring>

#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/message_box_display.h"
#include "ui/qt_translations.h"
#include "ui/settings_location.h"
#include "ui/termination_request.h"
#include "ulm5_version.h"

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("ulm5-configurator %s\n", kUlm5Version);
    return 0;
  }
  CatchTerminationSignals();
  QApplication app(argc, argv);
  installQtTranslations(app);
  setApplicationTitle();
  MessageBoxDisplay messages;
  ApplicationWindows windows(ApplicationSettingsFilePath(), messages);
  messages.setParent(&windows.formMain());
  CloseOnTerminationRequest(windows.formMain());
  windows.formMain().show();
  return QApplication::exec();
}
