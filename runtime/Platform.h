#pragma once

#include <memory>
#include <string>
#include <string_view>

// What each platform's backend provides to the shared run-time, besides start and
// pumpEvents (Runtime.h). Exactly one backend is linked into a program.
namespace lumeno {

class Form;
class FormWindow;
struct WindowDefinition;

namespace platform {

// Builds the on-screen window of a definition, hidden, in its initial state; clicks on its
// command buttons go to form.click and a close through its frame to form.closedByUser.
std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form);

// Destroys a discarded window once the event being handled is done with it: a click that
// unloaded the window is still being delivered to one of its buttons.
void destroyWhenIdle(std::unique_ptr<FormWindow> window);

// Makes the event loop that start runs return with this status.
void exitEventLoop(int status);

// The program's name, as the start-up header gives it.
std::string applicationName();

// A modal message box with this title and text, over the active window if there is one.
void showErrorBox(std::string_view title, std::string_view text);

// The decimal separator of the user's number format, as UTF-8; empty when the system
// gives none.
std::string decimalSeparator();

} // namespace platform
} // namespace lumeno
