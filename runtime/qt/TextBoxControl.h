#pragma once

#include "TextBox.h"
#include "TextBoxView.h"

#include <QLineEdit>
#include <functional>

namespace lumeno::qt {

// A one-line text box as a line edit. Its model is a TextBox.
class TextBoxControl : public QLineEdit, public TextBoxView {
public:
    explicit TextBoxControl(QWidget* parent);

    TextBox& model() { return model_; }

    std::string text() const override;
    void focusWithTextSelected() override;
    // Where the character at `offset` shows, in the field's coordinates.
    QRect characterRect(int offset) const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Taking the focus, the field selects its text and moves its caret before Qt tells of the
    // focus: a screen reader takes the caret's move for the focus, reads the line, and then
    // ignores the focus it thinks it has, so the field goes unnamed. Losing the focus, it drops
    // its selection while the screen reader is still on it, which that reads out. Both changes
    // are kept from assistive technology; told of the focus, a screen reader reads the field
    // as it is, selection included.
    void selectingUnheard(const std::function<void()>& change);

    TextBox model_{*this};
};

} // namespace lumeno::qt
