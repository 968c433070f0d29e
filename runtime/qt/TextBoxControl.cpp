#include "TextBoxControl.h"

#include <QFontMetrics>
#include <algorithm>
#include <vector>

namespace lumeno::qt {

TextBoxControl::TextBoxControl(QWidget* parent) : QLineEdit(parent) {
    // The field reports its caret's first move, from nowhere to the start, as a move: done
    // here, before it can take the focus, that report cannot come before the focus's.
    setCursorPosition(0);
}

std::string TextBoxControl::text() const {
    return QLineEdit::text().toStdString();
}

QRect TextBoxControl::characterRect(int offset) const {
    // An offset from assistive technology may be anything; the end of the text is where the
    // caret goes after the last character.
    const QString shown = QLineEdit::text();
    if (offset < 0 || offset > shown.size())
        return {};
    // Measured from the caret, which shows where the field has scrolled its text to.
    const int caret = cursorPosition();
    const QFontMetrics metrics(font());
    const int first = std::min(caret, offset);
    const int last = std::max(caret, offset);
    const int distance = metrics.horizontalAdvance(shown.mid(first, last - first));
    const int left = cursorRect().center().x() + (offset < caret ? -distance : distance);
    const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 0;
    return {left, cursorRect().top(), width, cursorRect().height()};
}

void TextBoxControl::focusWithTextSelected() {
    // Selected first: the focus then presents the field as it will be.
    selectAll();
    setFocus(Qt::OtherFocusReason);
}

void TextBoxControl::focusInEvent(QFocusEvent* event) {
    selectingUnheard([this, event] { QLineEdit::focusInEvent(event); });
}

void TextBoxControl::focusOutEvent(QFocusEvent* event) {
    selectingUnheard([this, event] { QLineEdit::focusOutEvent(event); });
}

void TextBoxControl::selectingUnheard(const std::function<void()>& change) {
    // The field hears of its selection and caret from its text engine, the one object among its
    // children that is not a widget, and tells assistive technology; the engine's signals wait.
    std::vector<QObject*> blocked;
    for (QObject* child : children())
        if (!child->isWidgetType() && !child->signalsBlocked()) {
            child->blockSignals(true);
            blocked.push_back(child);
        }
    change();
    for (QObject* child : blocked)
        child->blockSignals(false);
    // What the signals would have done besides.
    update();
    updateMicroFocus();
}

} // namespace lumeno::qt
