#include "transport/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace transport {

int64_t currentPlatformThreadId() { return static_cast<int64_t>(::syscall(SYS_gettid)); }

// Linux threads under the normal scheduler differ only by their nice value;
// the Win32 levels -15..15 map onto nice 19..-15 in the same order.
bool applyThreadPriority(int64_t platformThreadId, TThreadPriority priority) {
  int nice = 0;
  switch (priority) {
    case TThreadPriority::tpIdle:
      nice = 19;
      break;
    case TThreadPriority::tpLowest:
      nice = 2;
      break;
    case TThreadPriority::tpLower:
      nice = 1;
      break;
    case TThreadPriority::tpNormal:
      nice = 0;
      break;
    case TThreadPriority::tpHigher:
      nice = -1;
      break;
    case TThreadPriority::tpHighest:
      nice = -2;
      break;
    case TThreadPriority::tpTimeCritical:
      nice = -15;
      break;
  }
  return ::setpriority(PRIO_PROCESS, static_cast<id_t>(platformThreadId), nice) == 0;
}

}  // namespace transport
