#pragma once

#include "ControlTable.h"
#include "FormWindow.h"
#include "ScreenDensity.h"
#include "WindowDefinition.h"

#include <QLabel>
#include <QWidget>

namespace lumeno::qt {

class Announcer;

// The on-screen window of a window definition, as a top-level Qt widget of fixed size, laid
// out at the primary screen's logical density: Qt scales it to each screen.
class Window : public QWidget, public FormWindow {
public:
    Window(const WindowDefinition& definition, Form& form);

    ScreenDensity density() const override { return density_; }
    void setClientSize(int width, int height) override;
    void addControl(const ControlDefinition& control) override;
    void placeControl(const ControlDefinition& control, const PixelRect& place) override;
    void labelNames(const ControlDefinition& label, const ControlDefinition& control) override;
    void controlsAdded(const ControlDefinition* firstFocus) override;
    void show() override { QWidget::show(); }
    void hide() override { QWidget::hide(); }
    void setMousePointer(MousePointer pointer) override;
    void setBusy(bool busy) override;
    const ControlTable& controls() const override { return controls_; }
    void announce(std::string_view text) override;

    // Whether the window is busy (setBusy).
    bool isBusy() const { return busy_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Form& form_;
    ScreenDensity density_;
    ControlTable controls_;
    bool busy_ = false;
    Announcer* announcer_ = nullptr;
};

} // namespace lumeno::qt
