#include "ErrorReport.h"

#include "Platform.h"

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

} // namespace lumeno
