#pragma once

#include "RuntimeError.h"

#include <functional>
#include <string>

namespace lumeno {

// The error report: a modal message box titled with the application name whose
// first line names the error and whose second line gives its cause.
void reportError(const RuntimeError& error);

// The failure being handled, inside a catch block, as a run-time error. Handlers raise only
// run-time errors; anything else came from inside the run-time and counts as a failed
// control call.
RuntimeError currentFailure();

// Reports the failure being handled, inside a catch block, and ends the program: for a
// failure that nothing can go on from, such as one in the run-time's own answer to the window
// system. It lets nothing out: should the report fail too, the program ends all the same.
[[noreturn]] void reportFailureAndEnd() noexcept;

// Replaces the message box, e.g. in tests; an empty function restores it.
using ErrorPresenter = std::function<void(const std::string& title, const std::string& text)>;
void setErrorPresenter(ErrorPresenter replacement);

} // namespace lumeno
