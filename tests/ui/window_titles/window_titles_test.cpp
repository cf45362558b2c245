// Every window's title as the window manager shows it: exactly the caption
// the window sets, with nothing of the application's appended.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/message_box_display.h"

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
      nullptr);
  const xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return result;
}

// _NET_WM_NAME of the widget's window as Qt handed it to the X server, UTF-8.
std::string windowManagerName(QWidget& widget) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return "(no X11)";
  xcb_connection_t* connection = x11->connection();
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, static_cast<xcb_window_t>(widget.winId()),
                       atom(connection, "_NET_WM_NAME"), atom(connection, "UTF8_STRING"), 0, 1024),
      nullptr);
  if (!reply) return {};
  const std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                         static_cast<size_t>(xcb_get_property_value_length(reply)));
  std::free(reply);
  return name;
}

// The title of the modal box that `show` opens, which is then closed.
std::string boxTitle(const std::function<void()>& show) {
  std::string title = "(no box)";
  QTimer::singleShot(0, [&] {
    if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; })) return;
    QWidget* box = QApplication::activeModalWidget();
    title = windowManagerName(*box);
    box->close();
  });
  show();
  return title;
}

TEST(WindowTitles, ReadExactlyAsTheWindowsSetThem) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  setApplicationTitle();
  QTemporaryDir dir;
  MessageBoxDisplay messages;
  ApplicationWindows windows(dir.filePath(QStringLiteral("Configurator.ini")), messages);
  messages.setParent(&windows.formMain());
  windows.formMain().show();
  EXPECT_EQ(windowManagerName(windows.formMain()), "Конфигуратор ULM5");
  windows.formHelp().show();
  EXPECT_EQ(windowManagerName(windows.formHelp()), "Помощь");
  windows.formHelp().hide();

  EXPECT_EQ(boxTitle([&] { messages.error("x"); }), "Ошибка");
  EXPECT_EQ(boxTitle([&] { messages.confirmation("x"); }), "ULM5");
  EXPECT_EQ(boxTitle([&] { messages.exception("x"); }), kApplicationTitle);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
