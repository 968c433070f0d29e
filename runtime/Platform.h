#pragma once

#include "FormWindow.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What a platform provides to the shared run-time, and nothing else: the program's
// application and event loop; its windows, each a FormWindow that shows the pointer, tells
// its density, puts itself and its controls where its Form places them at that density, makes
// a view of each control (PictureBoxView, CommandButtonView, TextBoxView, LabelView) for the
// control's model in runtime/ and says things to assistive technology; the message box; the
// user's decimal separator; the program's resources. A platform is one folder of runtime/
// (qt, win32, web) whose classes live in a namespace of the same name and whose
// CMakeLists.txt adds its files; the build links exactly one (the CMake option
// LUMENO_PLATFORM). What a platform calls back is Form's: click, closedByUser and
// densityChanged, and PictureBox::painted.
namespace lumeno {

class Form;
struct WindowDefinition;

namespace platform {

// --- The application and its event loop ---

// Makes the window system's application for the program of that name and version.
void startApplication(std::string_view name, std::string_view version);
// Runs the event loop until exitEventLoop; returns its status. Windows destroyed after an
// event (destroyAfterEvent) are gone when it returns.
int runEventLoop();
// Handles all pending events, repaints included, then returns.
void pumpEvents();
// Makes runEventLoop return with this status.
void exitEventLoop(int status);
// Ends the application made by startApplication, once the event loop has returned.
void endApplication(int status);
// Destroys a discarded window once the event being handled is done with it. The window
// object decides when a window is discarded (Form); this is only the toolkit's "after this
// event".
void destroyAfterEvent(std::unique_ptr<FormWindow> window);
// The program's name, as startApplication was given it.
std::string applicationName();

// --- Windows ---

// Builds the on-screen window of a definition, hidden, in its initial state; clicks on its
// command buttons go to form.click and a close through its frame to form.closedByUser.
std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form);

// --- The message box ---

// A modal message box with this title and text, over the active window if there is one.
void showErrorBox(std::string_view title, std::string_view text);

// --- The user's number format ---

// The decimal separator of the user's number format, as UTF-8; empty when the system
// gives none.
std::string decimalSeparator();

// --- Resources ---

// The bytes of the program's resource of that name and file type ("picture", "bmp"); empty
// when the program has none.
std::vector<unsigned char> resourceFile(std::string_view name, std::string_view type);

} // namespace platform
} // namespace lumeno
