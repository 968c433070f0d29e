#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace lumeno {

class FormWindow;
class PictureBox;

// What a window tells assistive technology when its work ends: every picture box whose
// picture was replaced while it worked holds a result, and the window announces that it is
// drawn and what it shows. An announcement is heard wherever the focus is: a screen reader
// leaves out a change to an object the user is not on, and a run is started from Go.
class ResultAnnouncement {
public:
    // The window started or ended its work; `load` counts the window's loads
    // (Form::loadCount), so that a window re-created while it was busy announces nothing of
    // the one discarded.
    void workStarted(FormWindow& window, std::uint64_t load);
    void workEnded(FormWindow& window, std::uint64_t load);

private:
    std::uint64_t busyLoad_ = 0; // the load that became busy; 0 while not busy
    // The window's picture boxes when it became busy, with their count of replaced pictures.
    std::vector<std::pair<const PictureBox*, std::uint64_t>> boxesWhenBusy_;
};

} // namespace lumeno
