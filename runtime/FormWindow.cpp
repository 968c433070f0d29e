#include "FormWindow.h"

#include "CommandButtonWidget.h"
#include "Form.h"
#include "PictureBoxWidget.h"
#include "QtText.h"
#include "TextBoxWidget.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>

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

} // namespace

FormWindow::FormWindow(const WindowDefinition& definition, Form& form) : form_(form) {
    const ScreenDensity density = ScreenDensity::ofPrimaryScreen();
    setObjectName(toQString(definition.name));
    setWindowTitle(toQString(definition.caption));
    setWindowIcon(QIcon(toQString(definition.iconResource)));
    resize(density.pixels(definition.clientWidth), density.pixels(definition.clientHeight));

    QWidget* previous = nullptr;
    for (const ControlDefinition& control : definition.controls) {
        addControl(control, density);
        QWidget* added = this->control(control.name);
        if (previous != nullptr)
            setTabOrder(previous, added);
        // A label names the control that follows it in tab order.
        if (auto* label = qobject_cast<QLabel*>(previous))
            label->setBuddy(added);
        previous = added;
    }
    // The focus starts on the first control in tab order that can take it.
    for (const ControlDefinition& control : definition.controls) {
        QWidget* widget = this->control(control.name);
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            widget->setFocus();
            break;
        }
    }
}

void FormWindow::addControl(const ControlDefinition& control, const ScreenDensity& density) {
    const QString content = toQString(control.content);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        auto* box = new PictureBoxWidget(picture(content), density, this);
        box->place(control.left, control.top, control.width, control.height);
        widget = box;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new CommandButtonWidget(content, this);
        const std::string_view name = control.name;
        connect(button, &QPushButton::clicked, this, [this, name] { form_.click(name); });
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
    case ControlKind::TextBox:
        widget = new TextBoxWidget(this);
        break;
    }
    widget->setObjectName(toQString(control.name));
    if (!control.description.empty())
        widget->setAccessibleName(toQString(control.description));
    if (control.kind != ControlKind::PictureBox)
        widget->setGeometry(density.pixels(control.left), density.pixels(control.top),
                            density.pixels(control.width), density.pixels(control.height));
    if (auto* label = qobject_cast<QLabel*>(widget))
        fitCaption(*label);
}

const QImage& FormWindow::picture(const QString& resource) {
    // Boxes showing the same picture share one decoded, implicitly shared image.
    auto found = pictures_.find(resource);
    if (found == pictures_.end())
        found = pictures_.insert(resource, QImage(resource).convertToFormat(BoxPicture::format));
    return *found;
}

QWidget* FormWindow::control(std::string_view name) const {
    return findChild<QWidget*>(toQString(name), Qt::FindDirectChildrenOnly);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    form_.closedByUser();
}

} // namespace lumeno
