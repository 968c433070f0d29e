#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace lumeno {

class FormWindow;
class PictureBox;

// What a window tells assistive technology when a handler that ran in it returns: every
// picture box whose picture was replaced meanwhile holds a result, and the window announces
// that it is drawn and what it shows. An announcement is heard wherever the focus is: a screen
// reader leaves out a change to an object the user is not on, and a run is started from Go.
class ResultAnnouncement {
public:
    // Notes the window's picture boxes with their counts of replaced pictures, as a handler
    // starts.
    explicit ResultAnnouncement(const FormWindow& window);

    // The handler returned, and the window is the one it started in.
    void announce(FormWindow& window) const;

private:
    std::vector<std::pair<const PictureBox*, std::uint64_t>> boxes_;
};

} // namespace lumeno
