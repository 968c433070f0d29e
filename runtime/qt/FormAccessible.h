#pragma once

#include <QAccessibleWidget>

namespace lumeno::qt {

class Window;

// The main window as assistive technology sees it: a frame, busy while it shows the busy
// pointer.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(Window* form);

    QAccessible::State state() const override;
};

} // namespace lumeno::qt
