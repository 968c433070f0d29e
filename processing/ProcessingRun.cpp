#include "ProcessingRun.h"

#include "CommandButton.h"
#include "Conversions.h"
#include "CurveTable.h"
#include "Form.h"
#include "PictureBox.h"
#include "Runtime.h"
#include "RuntimeError.h"

#include <cstdint>

namespace lumeno {

namespace {

// Pumps events; false when the window the run started on was discarded meanwhile
// (closed, or re-created by Restart), so the run must touch nothing more.
bool pumpEventsKeepingWindow(const Form& form, std::uint64_t window) {
    pumpEvents();
    return form.isLoaded() && form.loadCount() == window;
}

// Steps 4 to 10; false when the window was discarded during the run.
bool mapPicture(Form& form, std::uint64_t window) {
    const CurveTable curve(textToSingle(form.textBox("txtBrightness")));
    PictureBox& to = form.pictureBox("PicTo");
    const PictureBox& from = form.pictureBox("PicFrom");
    to.setPersistentDrawing(true);
    to.setOuterWidth(from.outerWidth());
    to.setOuterHeight(from.outerHeight());
    to.setScaleMode(ScaleMode::Pixels);
    form.pictureBox("PicFrom").setScaleMode(ScaleMode::Pixels);

    const std::int16_t height = toInt16(static_cast<double>(from.innerHeight()));
    for (std::int16_t y = 0; y < height; ++y) {
        // Controls are fetched again after every pump: only a pump can change them.
        const PictureBox& source = form.pictureBox("PicFrom");
        PictureBox& result = form.pictureBox("PicTo");
        const std::int16_t width = toInt16(static_cast<double>(source.innerWidth()));
        for (std::int16_t x = 0; x < width; ++x) {
            const auto column = static_cast<float>(x);
            const auto row = static_cast<float>(y);
            result.setPixel(column, row, curve.map(source.readPixel(column, row)));
        }
        if (!pumpEventsKeepingWindow(form, window))
            return false;
    }
    form.pictureBox("PicTo").persistentImageToPicture();
    return true;
}

void backToIdle(Form& form) {
    form.commandButton("cmdGo").setEnabled(true);
    form.setMousePointer(MousePointer::Default);
}

} // namespace

void processingRun(Form& form) {
    const std::uint64_t window = form.loadCount();
    form.commandButton("cmdGo").setEnabled(false);
    form.setMousePointer(MousePointer::Busy);
    if (!pumpEventsKeepingWindow(form, window))
        return;
    try {
        if (!mapPicture(form, window))
            return;
    } catch (const RuntimeError& error) {
        // A user's error leaves the window usable with the previous result intact;
        // a failed control call means the program is broken and ends it anyway.
        if (error.kind() != ErrorKind::ControlCallFailed) {
            form.pictureBox("PicTo").discardDrawing();
            backToIdle(form);
        }
        throw;
    }
    backToIdle(form);
}

} // namespace lumeno
