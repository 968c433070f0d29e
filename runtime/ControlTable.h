#pragma once

#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace lumeno {

class CommandButton;
class Label;
class PictureBox;
class TextBox;

// A window's controls by name, each a model of runtime/ shown by a view of the platform;
// filled by the platform as it builds the window.
class ControlTable {
public:
    void add(std::string_view name, CommandButton& control) {
        entries_.emplace_back(name, &control);
    }
    void add(std::string_view name, TextBox& control) { entries_.emplace_back(name, &control); }
    void add(std::string_view name, PictureBox& control) { entries_.emplace_back(name, &control); }
    void add(std::string_view name, Label& control) { entries_.emplace_back(name, &control); }

    // The control with that name and kind, or nullptr.
    CommandButton* commandButton(std::string_view name) const { return find<CommandButton>(name); }
    TextBox* textBox(std::string_view name) const { return find<TextBox>(name); }
    PictureBox* pictureBox(std::string_view name) const { return find<PictureBox>(name); }
    Label* label(std::string_view name) const { return find<Label>(name); }
    // The text box, when it is one of the table's; nullptr otherwise.
    TextBox* textBox(const TextBox* box) const {
        for (const auto& entry : entries_)
            if (TextBox* const* held = std::get_if<TextBox*>(&entry.second); held && *held == box)
                return *held;
        return nullptr;
    }
    // Every picture box, in the order added.
    std::vector<PictureBox*> pictureBoxes() const {
        std::vector<PictureBox*> boxes;
        for (const auto& entry : entries_)
            if (PictureBox* const* box = std::get_if<PictureBox*>(&entry.second))
                boxes.push_back(*box);
        return boxes;
    }

private:
    template <class Kind> Kind* find(std::string_view name) const {
        for (const auto& [entryName, control] : entries_)
            if (entryName == name)
                return std::holds_alternative<Kind*>(control) ? std::get<Kind*>(control) : nullptr;
        return nullptr;
    }

    std::vector<
        std::pair<std::string_view, std::variant<CommandButton*, TextBox*, PictureBox*, Label*>>>
        entries_;
};

} // namespace lumeno
