// The application and its event loop in a browser. The program's stack waits for input and
// for the page's frames through ASYNCIFY; the page's listeners only queue input (Page.js),
// which the loop and every pump take and dispatch from inside the program's stack.
#include "Page.h"
#include "PictureBoxControl.h"
#include "Platform.h"
#include "Window.h"

#include <optional>
#include <string>
#include <vector>

namespace lumeno::platform {

namespace {

std::string& name() {
    static std::string application;
    return application;
}

std::optional<int>& exitStatus() {
    static std::optional<int> status;
    return status;
}

std::vector<std::unique_ptr<FormWindow>>& discarded() {
    static std::vector<std::unique_ptr<FormWindow>> windows;
    return windows;
}

// Dispatches the input queued so far; windows discarded meanwhile go once it is handled.
void dispatchQueuedInput() {
    PageInput input{};
    while (!exitStatus() && lumeno_next_input(&input)) {
        web::Window::dispatch(input);
        discarded().clear();
    }
}

} // namespace

void startApplication(std::string_view applicationName, std::string_view) {
    name() = applicationName;
    lumeno_page_start(name().c_str());
}

int runEventLoop() {
    while (!exitStatus()) {
        web::PictureBoxControl::paintDrawnRows();
        lumeno_wait_for_input();
        dispatchQueuedInput();
    }
    discarded().clear();
    return *exitStatus();
}

void pumpEvents() {
    // The page paints only while the program's stack waits: once a frame, so that the rows of
    // a run are seen coming and input is handled at least once a frame.
    if (lumeno_frame_due()) {
        web::PictureBoxControl::paintDrawnRows();
        lumeno_next_frame();
    }
    dispatchQueuedInput();
}

void exitEventLoop(int status) {
    exitStatus() = status;
}

void endApplication(int) {}

void destroyAfterEvent(std::unique_ptr<FormWindow> window) {
    discarded().push_back(std::move(window));
}

std::string applicationName() {
    return name();
}

} // namespace lumeno::platform
