#include "public/rdcontrol/ApplicationException.h"

#include <string>

#include "platform/Platform.h"

namespace {
TApplicationExceptionHandler& Handler() {
  static TApplicationExceptionHandler handler;
  return handler;
}
}  // namespace

void SetApplicationExceptionHandler(TApplicationExceptionHandler handler) {
  Handler() = std::move(handler);
}

void HandleApplicationException(std::exception_ptr error) {
  if (Handler()) {
    try {
      Handler()(error);
    } catch (...) {
    }
    return;
  }
  std::string message = "unknown exception";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
  }
  DebugOut("Exception in event handler: " + message);
}
