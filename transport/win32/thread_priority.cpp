#include "transport/thread_priority.h"

#include "transport/win32/windows_api.h"

#include "transport/win32/unique_handle.h"

namespace transport {

int64_t currentPlatformThreadId() { return static_cast<int64_t>(::GetCurrentThreadId()); }

bool applyThreadPriority(int64_t platformThreadId, TThreadPriority priority) {
  win32::UniqueHandle thread(
      ::OpenThread(THREAD_SET_INFORMATION, FALSE, static_cast<DWORD>(platformThreadId)));
  return thread.valid() && ::SetThreadPriority(thread.get(), PlatformPriority(priority)) != FALSE;
}

}  // namespace transport
