#include "ErrorReport.h"

#include "Platform.h"
#include "Runtime.h"

#include <exception>
#include <new>
#include <utility>

namespace lumeno {

namespace {

ErrorPresenter& presenter() {
    static ErrorPresenter replaced;
    return replaced;
}

} // namespace

void setErrorPresenter(ErrorPresenter replacement) {
    presenter() = std::move(replacement);
}

void reportError(const RuntimeError& error) {
    const std::string title = platform::applicationName();
    const std::string text = std::string(errorName(error.kind())) + "\n" + error.cause();
    if (presenter())
        presenter()(title, text);
    else
        platform::showErrorBox(title, text);
}

RuntimeError currentFailure() {
    try {
        throw;
    } catch (const RuntimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return {ErrorKind::ControlCallFailed, "There is not enough memory to go on."};
    } catch (const std::exception& error) {
        return {ErrorKind::ControlCallFailed, std::string("The run-time failed: ") + error.what()};
    } catch (...) {
        return {ErrorKind::ControlCallFailed, "The run-time failed."};
    }
}

void reportFailureAndEnd() noexcept {
    try {
        reportError(currentFailure());
    } catch (...) { // nothing more can be said
    }
    endProgram(1);
}

} // namespace lumeno
