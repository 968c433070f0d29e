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

ResultAnnouncement::ResultAnnouncement(const FormWindow& window) {
    for (const PictureBox* box : window.controls().pictureBoxes())
        boxes_.emplace_back(box, box->pictureReplacements());
}

void ResultAnnouncement::announce(FormWindow& window) const {
    for (const auto& [box, replacements] : boxes_)
        if (box->pictureReplacements() != replacements)
            window.announce(sentence(*box));
}

} // namespace lumeno
