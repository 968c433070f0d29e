#include "TextBoxAccessible.h"

#include "TextBoxControl.h"

namespace lumeno::qt {

TextBoxAccessible::TextBoxAccessible(TextBoxControl* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

TextBoxControl* TextBoxAccessible::field() const {
    return static_cast<TextBoxControl*>(widget());
}

QString TextBoxAccessible::content() const {
    return field()->QLineEdit::text();
}

QAccessible::State TextBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !field()->isReadOnly();
    state.readOnly = field()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString TextBoxAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value)
        return content();
    return QAccessibleWidget::text(kind);
}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !field()->hasSelectedText())
        return;
    *startOffset = field()->selectionStart();
    *endOffset = *startOffset + field()->selectionLength();
}

int TextBoxAccessible::selectionCount() const {
    return field()->hasSelectedText() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        field()->deselect();
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        field()->setSelection(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::cursorPosition() const {
    return field()->cursorPosition();
}

void TextBoxAccessible::setCursorPosition(int position) {
    field()->setCursorPosition(position);
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
    return content().mid(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::characterCount() const {
    return static_cast<int>(content().size());
}

QRect TextBoxAccessible::characterRect(int offset) const {
    const QRect local = field()->characterRect(offset);
    if (local.isNull())
        return {}; // no such character
    return {field()->mapToGlobal(local.topLeft()), local.size()};
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    return field()->cursorPositionAt(field()->mapFromGlobal(point));
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    field()->setCursorPosition(endIndex);
    field()->setCursorPosition(startIndex);
}

QString TextBoxAccessible::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    // Offsets from assistive technology may be anything: out of order or outside the text,
    // nothing is replaced.
    const QString old = content();
    if (field()->isReadOnly() || startOffset < 0 || endOffset < startOffset ||
        endOffset > old.size())
        return;
    field()->setText(QString(old).replace(startOffset, endOffset - startOffset, text));
}

} // namespace lumeno::qt
