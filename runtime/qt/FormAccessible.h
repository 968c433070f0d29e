#pragma once

#include <QAccessibleWidget>

namespace lumeno::qt {

class Window;

// The main window as assistive technology sees it: a frame, busy while its Form says so.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(Window* form);

    QAccessible::State state() const override;
};

} // namespace lumeno::qt
