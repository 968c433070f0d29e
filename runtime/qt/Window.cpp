#include "Window.h"

#include "AccessibleFactory.h"
#include "Announcer.h"
#include "AtSpiState.h"
#include "CommandButtonControl.h"
#include "Form.h"
#include "LabelControl.h"
#include "PictureBoxControl.h"
#include "PixelRect.h"
#include "Platform.h"
#include "Pointer.h"
#include "ProgramPictures.h"
#include "QtText.h"
#include "TabOrder.h"
#include "TextBoxControl.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace lumeno::qt {

namespace {

ScreenDensity primaryScreenDensity() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenDensity(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

} // namespace

Window::Window(const WindowDefinition& definition, Form& form)
    : form_(form), density_(primaryScreenDensity()) {
    installAccessibleFactory();
    setObjectName(toQString(definition.name));
    setWindowTitle(toQString(definition.caption));
    setWindowIcon(QIcon(":/" + toQString(definition.icon) + ".ico"));
}

void Window::setClientSize(int width, int height) {
    setFixedSize(width, height); // a frame of fixed size (FormWindow.h)
}

void Window::addControl(const ControlDefinition& control) {
    const QString content = toQString(control.content);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        auto* box = new PictureBoxControl(control, programPicture(control.content), density_, this);
        controls_.add(control.name, box->model());
        widget = box;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new CommandButtonControl(content, this);
        const std::string_view name = control.name;
        connect(button, &QPushButton::clicked, this, [this, name] { form_.click(name); });
        controls_.add(control.name, button->model());
        widget = button;
        break;
    }
    case ControlKind::Label: {
        auto* label = new LabelControl(content, this);
        controls_.add(control.name, label->model());
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        auto* field = new TextBoxControl(this);
        controls_.add(control.name, field->model());
        widget = field;
        break;
    }
    }
    widget->setObjectName(toQString(control.name));
    if (!control.accessibleName.empty())
        widget->setAccessibleName(toQString(control.accessibleName));
    // Children take the focus in the order they are made.
    widget->setFocusPolicy(takesFocus(control.kind) ? Qt::StrongFocus : Qt::NoFocus);
}

void Window::placeControl(const ControlDefinition& control, const PixelRect& place) {
    auto* widget = findChild<QWidget*>(toQString(control.name));
    if (control.kind == ControlKind::PictureBox)
        widget->move(place.left, place.top);
    else
        widget->setGeometry(place.left, place.top, place.width, place.height);
}

void Window::labelNames(const ControlDefinition& label, const ControlDefinition& control) {
    findChild<QLabel*>(toQString(label.name))
        ->setBuddy(findChild<QWidget*>(toQString(control.name)));
}

void Window::controlsAdded(const ControlDefinition* firstFocus) {
    if (firstFocus != nullptr)
        findChild<QWidget*>(toQString(firstFocus->name))->setFocus();
    // After the controls, which keep their places among the window's children.
    announcer_ = new Announcer(this);
}

void Window::announce(std::string_view text) {
    announcer_->announce(toQString(text));
}

void Window::setMousePointer(MousePointer pointer) {
    // Over the whole window, the controls included: a text box has a pointer of its own, the
    // I-beam, which the busy pointer covers too.
    const bool busy = pointer == MousePointer::Busy;
    const QCursor busyShape = busy ? busyPointer(*this) : QCursor();
    if (busy)
        setCursor(busyShape);
    else
        unsetCursor();
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->setCursor(busy ? busyShape : QCursor(Qt::IBeamCursor));
}

void Window::setBusy(bool busy) {
    if (busy == busy_)
        return;
    busy_ = busy;
    QAccessible::State changed;
    changed.busy = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    sendBusyChanged(this, busy);
}

void Window::changeEvent(QEvent* event) {
    // The focus leaves with the window and comes back where it was. When no control had it
    // (as while a disabled button waits to take it back), the window itself keeps it, given
    // while inactive, which sends no focus event; Qt would give it to the first control.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && focusWidget() == nullptr)
        setFocus(Qt::ActiveWindowFocusReason);
    QWidget::changeEvent(event);
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
