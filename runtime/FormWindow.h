#pragma once

#include "ScreenDensity.h"
#include "WindowDefinition.h"

#include <QWidget>

namespace lumeno {

class Form;

// The on-screen window built from a window definition, in its initial state.
class FormWindow : public QWidget {
public:
    FormWindow(const WindowDefinition& definition, Form& form);

    // The control with that name, or nullptr.
    QWidget* control(std::string_view name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addControl(const ControlDefinition& control, const ScreenDensity& density);

    Form& form_;
};

} // namespace lumeno
