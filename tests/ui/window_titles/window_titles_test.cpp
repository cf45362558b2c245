// Every window's title and icon as the window manager shows them: exactly
// the caption the window sets, with nothing of the application's appended,
// and the program's icon.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ui/application_icon.h"
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

// The sizes of the icons in _NET_WM_ICON (width, height, pixels, ... each a
// 32-bit cardinal), as a window manager draws them.
std::vector<uint32_t> windowManagerIconWidths(QWidget& widget) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return {};
  xcb_connection_t* connection = x11->connection();
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, static_cast<xcb_window_t>(widget.winId()),
                       atom(connection, "_NET_WM_ICON"), XCB_ATOM_CARDINAL, 0, 1 << 20),
      nullptr);
  if (!reply) return {};
  const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply));
  const auto count = static_cast<size_t>(xcb_get_property_value_length(reply)) / 4;
  std::vector<uint32_t> widths;
  for (size_t i = 0; i + 2 <= count; i += 2 + size_t{words[i]} * words[i + 1]) {
    widths.push_back(words[i]);
  }
  std::free(reply);
  return widths;
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

TEST(WindowTitles, TheMainWindowShowsTheProgramsIcon) {
  setApplicationIcon();
  QTemporaryDir dir;
  MessageBoxDisplay messages;
  ApplicationWindows windows(dir.filePath(QStringLiteral("Configurator.ini")), messages);
  windows.formMain().show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&windows.formMain()));
  const std::vector<uint32_t> widths = windowManagerIconWidths(windows.formMain());
  EXPECT_NE(std::find(widths.begin(), widths.end(), 48u), widths.end())
      << "icon sizes: " << ::testing::PrintToString(widths);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
