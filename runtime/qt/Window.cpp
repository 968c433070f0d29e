#include "Window.h"

#include "AccessibleFactory.h"
#include "CommandButtonControl.h"
#include "Form.h"
#include "PictureBoxControl.h"
#include "Platform.h"
#include "Pointer.h"
#include "ProgramPictures.h"
#include "QtText.h"
#include "TextBoxControl.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>

namespace lumeno::qt {

namespace {

// Labels are narrow; shrink the font until the wrapped caption fits the label.
void fitCaption(QLabel& label) {
    QFont font = label.font();
    constexpr double smallestPointSize = 6.0;
    for (double size = font.pointSizeF(); size >= smallestPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), label.size()),
                                                             Qt::TextWordWrap, label.text());
        if (needed.width() <= label.width() && needed.height() <= label.height())
            break;
    }
    label.setFont(font);
}

ScreenDensity primaryScreenDensity() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenDensity(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

} // namespace

Window::Window(const WindowDefinition& definition, Form& form) : form_(form) {
    installAccessibleFactory();
    const ScreenDensity density = primaryScreenDensity();
    setObjectName(toQString(definition.name));
    setWindowTitle(toQString(definition.caption));
    setWindowIcon(QIcon(":/" + toQString(definition.icon) + ".ico"));
    resize(density.pixels(definition.clientWidth), density.pixels(definition.clientHeight));

    QWidget* previous = nullptr;
    QWidget* firstFocus = nullptr;
    for (const ControlDefinition& control : definition.controls) {
        QWidget* added = addControl(control, density);
        if (previous != nullptr)
            setTabOrder(previous, added);
        // A label names the control that follows it in tab order.
        if (auto* label = qobject_cast<QLabel*>(previous))
            label->setBuddy(added);
        if (firstFocus == nullptr && (added->focusPolicy() & Qt::TabFocus) != 0)
            firstFocus = added;
        previous = added;
    }
    // The focus starts on the first control in tab order that can take it.
    if (firstFocus != nullptr)
        firstFocus->setFocus();
}

QWidget* Window::addControl(const ControlDefinition& control, const ScreenDensity& density) {
    const QString content = toQString(control.content);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        auto* box = new PictureBoxControl(control, programPicture(control.content), density, this);
        controls_.add(control.name, box->pictureBox());
        widget = box;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new CommandButtonControl(content, this);
        const std::string_view name = control.name;
        connect(button, &QPushButton::clicked, this, [this, name] { form_.click(name); });
        controls_.add(control.name, *button);
        widget = button;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(content, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto* field = new TextBoxControl(this);
        controls_.add(control.name, *field);
        widget = field;
        break;
    }
    }
    widget->setObjectName(toQString(control.name));
    if (!control.description.empty())
        widget->setAccessibleName(toQString(control.description));
    if (control.kind != ControlKind::PictureBox)
        widget->setGeometry(density.pixels(control.left), density.pixels(control.top),
                            density.pixels(control.width), density.pixels(control.height));
    if (auto* label = qobject_cast<QLabel*>(widget))
        fitCaption(*label);
    return widget;
}

void Window::setMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Busy)
        setCursor(busyPointer(*this));
    else
        unsetCursor();
    // Assistive technology learns that the window is busy from the pointer, as a user does.
    const bool busy = pointer == MousePointer::Busy;
    if (busy == busy_)
        return;
    busy_ = busy;
    QAccessible::State changed;
    changed.busy = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void Window::closeEvent(QCloseEvent* event) {
    event->accept();
    form_.closedByUser();
}

} // namespace lumeno::qt

namespace lumeno::platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<qt::Window>(definition, form);
}

} // namespace lumeno::platform
