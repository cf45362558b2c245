#pragma once

#include <exception>
#include <functional>

namespace transport {

// The application's standard exception display: thread errors of the port
// (ceThreadError) and exceptions escaping a hand-over handler end up here.
// The UI installs a message box; the default prints to stderr.
void setApplicationExceptionHandler(std::function<void(const std::exception&)> handler);
void showApplicationException(const std::exception& error);
// For whatever escapes as a non-std exception.
void showApplicationException(std::exception_ptr error);

}  // namespace transport
