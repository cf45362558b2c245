#include "ui/termination_request.h"

#include <QTimer>
#include <QWidget>
#include <csignal>

namespace {

// A signal handler may do no more than set a flag of this type.
volatile std::sig_atomic_t requested = 0;

extern "C" void onTerminationSignal(int) { requested = 1; }

constexpr int kLookMs = 200;

}  // namespace

void CatchTerminationSignals() {
  std::signal(SIGTERM, onTerminationSignal);
  std::signal(SIGINT, onTerminationSignal);
}

void CloseOnTerminationRequest(QWidget& window) {
  auto* look = new QTimer(&window);
  look->setInterval(kLookMs);
  QObject::connect(look, &QTimer::timeout, &window, [&window] {
    if (requested == 0) return;
    requested = 0;
    window.close();
  });
  look->start();
}
