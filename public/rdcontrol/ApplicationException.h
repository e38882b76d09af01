#pragma once
#include <exception>
#include <functional>

// The application's exception handling for exceptions that escape an event handler run by the
// library (a timer's OnTimer): the handler installed here sees them; without one they go to the
// debug output. The handler must not throw.
using TApplicationExceptionHandler = std::function<void(std::exception_ptr)>;
void SetApplicationExceptionHandler(TApplicationExceptionHandler handler);
void HandleApplicationException(std::exception_ptr error);
