#include <dirent.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "paced_writer.h"
#include "pty_pair.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace transport {
namespace {

using namespace std::chrono_literals;

int entriesIn(const char* dir) {
  int n = 0;
  if (DIR* d = ::opendir(dir)) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}

// Echoes whatever reaches the master until stopped.
class Echo {
 public:
  explicit Echo(int master) : master_(master), thread_([this] { run(); }) {}
  ~Echo() {
    stop_ = true;
    thread_.join();
  }

 private:
  void run() {
    char buf[4096];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN)) continue;
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0 && ::write(master_, buf, static_cast<size_t>(n)) != n) return;
    }
  }
  int master_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A leak of one descriptor or thread a cycle shows after a few; the long
// run is bench/serial's bench_open_close.
constexpr int kCycles = 100;

TEST(OpenCloseStress, CyclesLeakNoDescriptorOrThread) {
  testing::PtyPair pty;
  ASSERT_TRUE(pty.ok());
  Echo echo(pty.master());
  TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return pty.slavePath(); });
  port.SetComNumber(1);
  DispatcherEventPump pump;
  const std::string frame = ":000300000001FC\r\n";

  // One cycle first, so that lazily created process-wide state is counted.
  port.Open();
  port.Close();
  const int fdsBefore = entriesIn("/proc/self/fd");
  const int threadsBefore = entriesIn("/proc/self/task");
  for (int i = 0; i < kCycles; ++i) {
    port.Open();
    port.WriteString(frame);
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (got.size() < frame.size() && std::chrono::steady_clock::now() < deadline) {
      if (port.InBufUsed() == 0) pump.ProcessEvents(5ms);
      got += port.ReadString();
    }
    ASSERT_EQ(got, frame) << "cycle " << i;
    port.Close();
  }
  EXPECT_EQ(entriesIn("/proc/self/fd"), fdsBefore);
  EXPECT_EQ(entriesIn("/proc/self/task"), threadsBefore);
}

// The event thread calls into the component for every input event until it is
// joined; a port destroyed while open must end its threads before any part
// they use goes. The destruction comes at varying moments of the input.
constexpr int kDestroyCycles = 300;

TEST(OpenCloseStress, DestroyingAnOpenPortWhileInputArrives) {
  testing::PtyPair pty;
  ASSERT_TRUE(pty.ok());
  // A byte every few microseconds: a steady run of input events that never
  // fills the terminal for long, as each open purges what came before.
  testing::PacedWriter flood(pty.master(), std::chrono::microseconds(20));
  std::minstd_rand random(15);
  std::uniform_int_distribution<int> pauseUs(0, 2000);
  for (int i = 0; i < kDestroyCycles; ++i) {
    auto port = std::make_unique<TAfComPort>("CommModBus");
    port->SetDevicePathResolver([&](int) { return pty.slavePath(); });
    port->SetComNumber(1);
    port->Open();
    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    port.reset();
  }
}

}  // namespace
}  // namespace transport
