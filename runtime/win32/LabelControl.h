#pragma once

#include "Label.h"
#include "LabelView.h"
#include "OwnedHandle.h"

#include <string>
#include <string_view>
#include <windows.h>

namespace lumeno::win32 {

// A label as the system's static text, word-wrapped. Its model is a Label, which fits the
// caption's font.
class LabelControl final : public LabelView {
public:
    // Made unplaced: its window places it and gives it its font (setWindowFont).
    LabelControl(std::string_view caption, HWND parent);
    LabelControl(const LabelControl&) = delete;
    LabelControl& operator=(const LabelControl&) = delete;

    Label& model() { return model_; }
    HWND handle() const { return window_; }

    // The window's font at a density of `dpi`, from which the caption's is fitted
    // (Label::fitCaption).
    void setWindowFont(const LOGFONTW& windowFont, UINT dpi);

    double windowPointSize() const override;
    bool captionFits(double points) const override;
    void setPointSize(double points) override;

private:
    // The window's font at `points` points.
    OwnedFont font(double points) const;

    std::wstring caption_;
    LOGFONTW windowFont_{};
    UINT dpi_ = 96;
    HWND window_ = nullptr; // destroyed with its parent
    OwnedFont font_;        // outlives the label: its parent is destroyed first
    Label model_{*this};
};

} // namespace lumeno::win32
