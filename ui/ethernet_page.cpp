#include "ethernet_page.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "device/message_sink.h"
#include "transport/tcp/client_socket.h"
#include "transport/tcp/socket_error.h"
#include "ui/compact_layout.h"
#include "ui/named_controls.h"

namespace {

constexpr QMargins kGroupMargins(6, 6, 6, 6);
constexpr int kRowSpacing = 4;

constexpr const char* kBadPortText = "Неверно введен порт ULM5";
constexpr const char* kBadHostText = "Неверно введен IP ULM5";
constexpr const char* kNoServerText = "Нет соединения с сервером";
constexpr int kLastPort = 65535;
// Sent as it is: no terminator, no framing.
constexpr std::string_view kTestText = "1234567890";

// The end of the last line that has text: a peer may send megabytes at once,
// and only what the one-line label can use is decoded. Code page 1251 has one
// byte per character.
std::string_view lastLineEnd(std::string_view bytes) {
  const auto end = bytes.find_last_not_of("\r\n");
  if (end == std::string_view::npos) return {};
  bytes = bytes.substr(0, end + 1);
  if (const auto cut = bytes.find_last_of("\r\n"); cut != std::string_view::npos) {
    bytes.remove_prefix(cut + 1);
  }
  const auto kept = static_cast<std::size_t>(EthernetPage::kKeptCharacters);
  if (bytes.size() > kept) bytes.remove_prefix(bytes.size() - kept);
  return bytes;
}

QString fromCodePage1251(std::string_view bytes) {
  QStringDecoder decoder("Windows-1251");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void addAddressRows(QGridLayout* grid, QLineEdit* address, QLineEdit* port) {
  address->setMaximumWidth(160);
  port->setMaximumWidth(80);
  addRow(grid, 0, QStringLiteral("Адрес IP ULM5:"), address);
  addRow(grid, 1, QStringLiteral("Порт ULM5:"), port);
}

}  // namespace

EthernetPage::EthernetPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet7"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(8);
  layout->addWidget(buildConnection());
  layout->addWidget(buildSettings());
  layout->addStretch(1);
}

QString EthernetPage::defaultAddress() { return QStringLiteral("192.168.1.100"); }

QString EthernetPage::defaultPort() { return QStringLiteral("5000"); }

QGroupBox* EthernetPage::buildConnection() {
  auto* group = new QGroupBox(QStringLiteral(" Подключение к ULM5"), this);
  group->setObjectName(QStringLiteral("GroupBoxIPConnect"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);
  address_ = namedEdit("EditIP", defaultAddress(), group);
  port_ = namedEdit("EditIPPort", defaultPort(), group);
  addAddressRows(grid, address_, port_);

  status_ = staticText("StaticTextStatusIP", QString(), group);
  status_->setMinimumHeight(status_->fontMetrics().height() + 4);
  grid->addWidget(status_, 2, 0, 1, 3);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  connect_ = namedButton("BitBtnIPConnect", QStyle::SP_DialogYesButton,
                         QStringLiteral("Подключиться к ULM5"), group);
  disconnect_ = namedButton("BitBtnIPDisconnect", QStyle::SP_DialogNoButton,
                            QStringLiteral("Отключиться от ULM5"), group);
  buttons->addWidget(connect_);
  buttons->addWidget(disconnect_);
  buttons->addStretch(1);
  grid->addLayout(buttons, 3, 0, 1, 3);

  auto* write = namedButton("ButtonIPWrite", QStyle::SP_ArrowRight,
                            QStringLiteral("Записать в прибор"), group);
  grid->addWidget(write, 4, 0);
  // Whatever the peer sends is shown as it came, so it must never be read as rich text.
  received_ = staticText("StaticTextIPRead", QString(), group);
  received_->setFrameShape(QFrame::StyledPanel);
  received_->setFrameShadow(QFrame::Sunken);
  received_->setMinimumHeight(received_->fontMetrics().height() + 4);
  received_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long line is cut to the label rather than widening the fixed-size window.
  received_->setSizePolicy(QSizePolicy::Ignored, received_->sizePolicy().verticalPolicy());
  received_->installEventFilter(this);
  grid->addWidget(received_, 5, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}

QGroupBox* EthernetPage::buildSettings() {
  auto* group = new QGroupBox(QStringLiteral(" Настройка "), this);
  group->setObjectName(QStringLiteral("GroupBoxIPNastr"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);
  // Edit1 and Edit2 are the names of the connection panel's fields, so these take their own.
  addAddressRows(grid, namedEdit("EditNastrIP", QStringLiteral("Edit1"), group),
                 namedEdit("EditNastrIPPort", QStringLiteral("Edit2"), group));

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(namedButton("BitBtnWriteNastrIP", QStyle::SP_DialogSaveButton,
                                 QStringLiteral("Записать в прибор"), group));
  buttons->addWidget(namedButton("BitBtnReadNastrIP", QStyle::SP_BrowserReload,
                                 QStringLiteral("Считать из прибора"), group));
  buttons->addStretch(1);
  grid->addLayout(buttons, 2, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}

void EthernetPage::connectSocket(transport::TClientSocket& socket, device::MessageSink& messages) {
  const bool started = startConnection(socket, messages);
  if (!started) status_->setText(QStringLiteral("Нет соединения"));
  enableConnect(!started);
}

bool EthernetPage::startConnection(transport::TClientSocket& socket,
                                   device::MessageSink& messages) {
  bool isNumber = false;
  const int port = port_->text().toInt(&isNumber);
  // Port 0 or one beyond 16 bits could only fail later, at the connect, with a
  // less telling message.
  if (!isNumber || port < 1 || port > kLastPort) {
    messages.error(kBadPortText);
    return false;
  }
  try {
    socket.setPort(port);
  } catch (const transport::ESocketError&) {
    messages.error(kBadPortText);
    return false;
  }
  try {
    socket.setHost(address_->text());
  } catch (const transport::ESocketError&) {
    messages.error(kBadHostText);
    return false;
  }
  try {
    socket.setActive(true);
  } catch (const transport::ESocketError&) {
    messages.error(kNoServerText);
    return false;
  }
  return true;
}

void EthernetPage::disconnectSocket(transport::TClientSocket& socket) {
  try {
    socket.setActive(false);
  } catch (const transport::ESocketError&) {
    // A failed close is not reported, and the page stays as it was.
    return;
  }
  enableConnect(true);
  status_->setText(QStringLiteral("Соединение закрыто"));
}

void EthernetPage::writeTestText(transport::TClientSocket& socket) {
  if (socket.Active()) socket.sendText(kTestText);
}

// A disconnect pressed while the attempt was still under way leaves that attempt
// going on; when it then connects, the buttons follow the open connection so
// that the user can still close it.
void EthernetPage::showConnected() {
  status_->setText(QStringLiteral("Соединение открыто"));
  enableConnect(false);
}

void EthernetPage::showDisconnected() {
  status_->setText(QStringLiteral("Соединение закрыто"));
  enableConnect(true);
}

void EthernetPage::showReceived(std::string_view bytes) {
  receivedLine_ = fromCodePage1251(lastLineEnd(bytes));
  fitReceived();
}

bool EthernetPage::eventFilter(QObject* watched, QEvent* event) {
  // The label gets its width only once its tab has been shown.
  if (watched == received_ && event->type() == QEvent::Resize) fitReceived();
  return QWidget::eventFilter(watched, event);
}

void EthernetPage::fitReceived() {
  const QFontMetrics metrics = received_->fontMetrics();
  // Inside the frame and margins, less the indent a framed label gives its text.
  const int room = received_->contentsRect().width() - 2 * received_->margin() -
                   metrics.horizontalAdvance(QLatin1Char('x'));
  received_->setText(metrics.elidedText(receivedLine_, Qt::ElideLeft, std::max(room, 0)));
}

void EthernetPage::enableConnect(bool enabled) {
  connect_->setEnabled(enabled);
  disconnect_->setEnabled(!enabled);
}
