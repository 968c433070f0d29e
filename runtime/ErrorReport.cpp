#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
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
    const std::string title = QCoreApplication::applicationName().toStdString();
    const std::string text = std::string(errorName(error.kind())) + "\n" + error.cause();
    if (presenter()) {
        presenter()(title, text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QString::fromStdString(title),
                          QString::fromStdString(text));
}

} // namespace lumeno
