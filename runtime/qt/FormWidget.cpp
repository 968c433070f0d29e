#include "FormWidget.h"

#include "AccessibleFactory.h"
#include "AnnouncementWidget.h"
#include "AtSpiState.h"
#include "BmpFile.h"
#include "BusyPointer.h"
#include "CommandButtonWidget.h"
#include "Form.h"
#include "PictureBoxWidget.h"
#include "QtText.h"
#include "RuntimeError.h"
#include "TextBoxWidget.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <span>

namespace lumeno {

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

// The program's resources are compiled in under ":/", by file name.
QString resourcePath(std::string_view name, const char* suffix) {
    return ":/" + toQString(name) + suffix;
}

} // namespace

FormWidget::FormWidget(const WindowDefinition& definition, Form& form) : form_(form) {
    installAccessibleFactory();
    const ScreenDensity density = primaryScreenDensity();
    setObjectName(toQString(definition.name));
    setWindowTitle(toQString(definition.caption));
    setWindowIcon(QIcon(resourcePath(definition.icon, ".ico")));
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
    // After the controls, which keep their places among the window's children.
    announcement_ = new AnnouncementWidget(this);
}

QWidget* FormWidget::addControl(const ControlDefinition& control, const ScreenDensity& density) {
    const QString content = toQString(control.content);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        auto* box = new PictureBoxWidget(control, picture(control.content), density, this);
        controls_.add(control.name, box->pictureBox());
        widget = box;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new CommandButtonWidget(content, this);
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
        auto* field = new TextBoxWidget(this);
        controls_.add(control.name, *field);
        widget = field;
        break;
    }
    }
    widget->setObjectName(toQString(control.name));
    if (!control.accessibleName.empty())
        widget->setAccessibleName(toQString(control.accessibleName));
    if (control.kind != ControlKind::PictureBox)
        widget->setGeometry(density.pixels(control.left), density.pixels(control.top),
                            density.pixels(control.width), density.pixels(control.height));
    if (auto* label = qobject_cast<QLabel*>(widget))
        fitCaption(*label);
    return widget;
}

const PixelImage& FormWidget::picture(std::string_view name) {
    // Boxes showing the same picture decode it once.
    const QString path = resourcePath(name, ".bmp");
    auto found = pictures_.find(path);
    if (found == pictures_.end()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw RuntimeError(ErrorKind::ControlCallFailed,
                               "The program has no picture named " + std::string(name) + ".");
        const QByteArray bytes = file.readAll();
        found = pictures_.insert(
            path, decodeBmp(std::span(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size()))));
    }
    return *found;
}

void FormWidget::setMousePointer(MousePointer pointer) {
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
    sendBusyChanged(this, busy);
}

void FormWidget::announce(std::string_view text) {
    announcement_->announce(toQString(text));
}

void FormWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    form_.closedByUser();
}

} // namespace lumeno
