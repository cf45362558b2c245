#include "transport/application_exception_handler.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace transport {
namespace {

std::mutex& handlerMutex() {
  static std::mutex m;
  return m;
}

std::function<void(const std::exception&)>& handlerSlot() {
  static std::function<void(const std::exception&)> h;
  return h;
}

class UnknownException : public std::exception {
 public:
  const char* what() const noexcept override { return "Unknown exception"; }
};

}  // namespace

void setApplicationExceptionHandler(std::function<void(const std::exception&)> handler) {
  std::lock_guard lock(handlerMutex());
  handlerSlot() = std::move(handler);
}

void showApplicationException(const std::exception& error) {
  std::function<void(const std::exception&)> h;
  {
    std::lock_guard lock(handlerMutex());
    h = handlerSlot();
  }
  if (h) {
    h(error);
  } else {
    std::fprintf(stderr, "%s\n", error.what());
  }
}

void showApplicationException(std::exception_ptr error) {
  if (!error) return;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    showApplicationException(e);
  } catch (...) {
    showApplicationException(UnknownException());
  }
}

}  // namespace transport
