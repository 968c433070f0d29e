#pragma once

#include <QString>
#include <QWidget>

namespace lumeno::qt {

// Where a window says something to assistive technology that is not about the control with
// the focus: an empty, hidden notification that is named by the text and appears. Orca speaks a
// notification as it appears; Qt 6.4 has no other way to reach it from an object without
// the focus.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
};

} // namespace lumeno::qt
