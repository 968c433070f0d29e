#include "ResultAnnouncement.h"

#include "ControlTable.h"
#include "FormWindow.h"
#include "PictureBox.h"

#include <string>

namespace lumeno {

namespace {

// What a user hears of a box's new picture: that it is there, and what the box shows now.
std::string sentence(const PictureBox& box) {
    return "The result is drawn. " + box.description();
}

} // namespace

void ResultAnnouncement::workStarted(FormWindow& window, std::uint64_t load) {
    if (busyLoad_ == load)
        return; // busy already: the count from the start of the work stands
    busyLoad_ = load;
    boxesWhenBusy_.clear();
    for (const PictureBox* box : window.controls().pictureBoxes())
        boxesWhenBusy_.emplace_back(box, box->pictureReplacements());
}

void ResultAnnouncement::workEnded(FormWindow& window, std::uint64_t load) {
    const bool sameWindow = busyLoad_ == load;
    busyLoad_ = 0;
    if (!sameWindow)
        return;
    for (const auto& [box, replacements] : boxesWhenBusy_)
        if (box->pictureReplacements() != replacements)
            window.announce(sentence(*box));
}

} // namespace lumeno
