#pragma once

#include <QAccessibleWidget>

namespace lumeno {

class FormWidget;

// The main window as assistive technology sees it: a frame, busy while it shows the busy
// pointer.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(FormWidget* form);

    QAccessible::State state() const override;
};

} // namespace lumeno
