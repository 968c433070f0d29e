#pragma once

#include "RuntimeError.h"

#include <functional>
#include <string>

namespace lumeno {

// The error report: a modal message box titled with the application name whose
// first line names the error and whose second line gives its cause.
void reportError(const RuntimeError& error);

// Replaces the message box, e.g. in tests; an empty function restores it.
using ErrorPresenter = std::function<void(const std::string& title, const std::string& text)>;
void setErrorPresenter(ErrorPresenter replacement);

} // namespace lumeno
