// A pointer and a keyboard for a Wayland compositor that has no input devices, such as a
// headless one. Creates one virtual pointer (wlr-virtual-pointer) and one virtual keyboard
// with a US layout (virtual-keyboard), and drives them with commands read from standard
// input, one a line:
//   move X Y      moves the pointer to (X, Y) in the compositor's layout, in logical pixels
//   press         presses the left button
//   release       releases the left button
//   key KEY...    presses and releases each key; a key is an X keysym name, with modifiers
//                 before it joined by "+": Return, ctrl+a, shift+Tab
//   type TEXT     types the rest of the line (ASCII), character by character
// After each command it waits until the compositor has handled it, then answers "done" on
// standard output. It ends at the end of its input.
//
// Both devices last as long as the process, so the client under test keeps one keymap and
// its keyboard focus: a keyboard created for each command makes the compositor send the
// client a new keymap with a focus change, and keys that follow at once can get lost.
//
// Usage: virtual_input LAYOUT_WIDTH LAYOUT_HEIGHT (on the display in WAYLAND_DISPLAY)

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/input-event-codes.h>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
};

template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface) {
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, 1));
}

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
    auto& globals = *static_cast<Globals*>(data);
    const std::string_view offered(interface);
    if (offered == wl_seat_interface.name && globals.seat == nullptr)
        globals.seat = bind<wl_seat>(registry, name, wl_seat_interface);
    else if (offered == zwlr_virtual_pointer_manager_v1_interface.name)
        globals.pointers = bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, zwlr_virtual_pointer_manager_v1_interface);
    else if (offered == zwp_virtual_keyboard_manager_v1_interface.name)
        globals.keyboards = bind<zwp_virtual_keyboard_manager_v1>(
            registry, name, zwp_virtual_keyboard_manager_v1_interface);
}

void withdraw(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

const wl_registry_listener registryListener = {announce, withdraw};

std::uint32_t milliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// The virtual keyboard with its keymap, and the modifier state its keys produce.
class Keyboard {
public:
    Keyboard(zwp_virtual_keyboard_v1* keyboard, xkb_keymap* keymap)
        : keyboard_(keyboard), keymap_(keymap), state_(xkb_state_new(keymap)) {}
    ~Keyboard() {
        xkb_state_unref(state_);
        zwp_virtual_keyboard_v1_destroy(keyboard_);
    }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Hands the keymap to the compositor; false when that fails.
    bool sendKeymap() {
        char* text = xkb_keymap_get_as_string(keymap_, XKB_KEYMAP_FORMAT_TEXT_V1);
        const std::size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("keymap", MFD_CLOEXEC);
        const bool written = fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size);
        std::free(text);
        if (written)
            zwp_virtual_keyboard_v1_keymap(keyboard_, XKB_KEYMAP_FORMAT_TEXT_V1, fd,
                                           static_cast<std::uint32_t>(size));
        if (fd >= 0)
            close(fd);
        return written;
    }

    // Presses the keys of a chord in order and releases them in reverse order.
    void strike(const std::vector<xkb_keycode_t>& chord) {
        for (const xkb_keycode_t code : chord)
            send(code, XKB_KEY_DOWN);
        std::for_each(chord.rbegin(), chord.rend(),
                      [this](xkb_keycode_t code) { send(code, XKB_KEY_UP); });
    }

    // The keys that produce a keysym: its key, after Shift when it is on the shifted level.
    std::optional<std::vector<xkb_keycode_t>> chordFor(xkb_keysym_t wanted) const {
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap_);
             code <= xkb_keymap_max_keycode(keymap_); ++code) {
            for (xkb_level_index_t level = 0; level < 2; ++level) {
                const xkb_keysym_t* syms = nullptr;
                if (xkb_keymap_key_get_syms_by_level(keymap_, code, 0, level, &syms) == 1 &&
                    syms[0] == wanted) {
                    if (level == 0)
                        return std::vector{code};
                    if (const auto shift = chordFor(XKB_KEY_Shift_L))
                        return std::vector{shift->front(), code};
                }
            }
        }
        return std::nullopt;
    }

private:
    void send(xkb_keycode_t code, xkb_key_direction direction) {
        // Keymap codes are the kernel's key codes plus 8.
        zwp_virtual_keyboard_v1_key(keyboard_, milliseconds(), code - 8,
                                    direction == XKB_KEY_DOWN ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                              : WL_KEYBOARD_KEY_STATE_RELEASED);
        if (xkb_state_update_key(state_, code, direction) != 0)
            zwp_virtual_keyboard_v1_modifiers(
                keyboard_, xkb_state_serialize_mods(state_, XKB_STATE_MODS_DEPRESSED),
                xkb_state_serialize_mods(state_, XKB_STATE_MODS_LATCHED),
                xkb_state_serialize_mods(state_, XKB_STATE_MODS_LOCKED),
                xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE));
    }

    zwp_virtual_keyboard_v1* keyboard_;
    xkb_keymap* keymap_;
    xkb_state* state_;
};

// "ctrl+shift+Tab" as keysyms; "ctrl", "shift" and "alt" stand for the left-hand keys.
std::optional<std::vector<xkb_keysym_t>> parseChord(const std::string& chord) {
    std::vector<xkb_keysym_t> syms;
    std::size_t start = 0;
    while (start <= chord.size()) {
        std::size_t end = chord.find('+', start);
        if (end == std::string::npos)
            end = chord.size();
        std::string name = chord.substr(start, end - start);
        if (name == "ctrl")
            name = "Control_L";
        else if (name == "shift")
            name = "Shift_L";
        else if (name == "alt")
            name = "Alt_L";
        const xkb_keysym_t sym = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
        if (sym == XKB_KEY_NoSymbol)
            return std::nullopt;
        syms.push_back(sym);
        start = end + 1;
    }
    return syms;
}

// Carries out one command; false when it is not one.
bool perform(const std::string& command, zwlr_virtual_pointer_v1* pointer, Keyboard& keyboard,
             std::uint32_t width, std::uint32_t height) {
    unsigned x = 0;
    unsigned y = 0;
    if (std::sscanf(command.c_str(), "move %u %u", &x, &y) == 2 && x <= width && y <= height) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, milliseconds(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (command == "press" || command == "release") {
        zwlr_virtual_pointer_v1_button(pointer, milliseconds(), BTN_LEFT,
                                       command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (command.starts_with("key ")) {
        std::vector<std::vector<xkb_keycode_t>> chords;
        std::size_t start = 4;
        while (start < command.size()) {
            const std::size_t end = std::min(command.find(' ', start), command.size());
            const auto syms = parseChord(command.substr(start, end - start));
            if (!syms)
                return false;
            std::vector<xkb_keycode_t> chord;
            for (const xkb_keysym_t sym : *syms) {
                const auto keys = keyboard.chordFor(sym);
                if (!keys)
                    return false;
                chord.insert(chord.end(), keys->begin(), keys->end());
            }
            chords.push_back(chord);
            start = end + 1;
        }
        for (const auto& chord : chords)
            keyboard.strike(chord);
    } else if (command.starts_with("type ")) {
        std::vector<std::vector<xkb_keycode_t>> chords;
        for (const char c : command.substr(5)) {
            const auto chord =
                keyboard.chordFor(xkb_utf32_to_keysym(static_cast<unsigned char>(c)));
            if (!chord)
                return false;
            chords.push_back(*chord);
        }
        for (const auto& chord : chords)
            keyboard.strike(chord);
    } else {
        return false;
    }
    return true;
}

// Reads and carries out commands until the end of the input; the process's exit status.
int serve(wl_display* display, zwlr_virtual_pointer_v1* pointer, Keyboard& keyboard,
          std::uint32_t width, std::uint32_t height) {
    if (wl_display_roundtrip(display) < 0)
        return 1;
    std::string command;
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {
        if (c != '\n') {
            command += static_cast<char>(c);
            continue;
        }
        if (!perform(command, pointer, keyboard, width, height)) {
            std::fprintf(stderr, "virtual_input: not a command: %s\n", command.c_str());
            return 2;
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "virtual_input: lost the connection to the display\n");
            return 1;
        }
        command.clear();
        std::printf("done\n");
        std::fflush(stdout);
    }
    return 0;
}

bool parseExtent(const char* text, std::uint32_t& extent) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value == 0 || value > 100000)
        return false;
    extent = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (argc != 3 || !parseExtent(argv[1], width) || !parseExtent(argv[2], height)) {
        std::fprintf(stderr, "usage: virtual_input LAYOUT_WIDTH LAYOUT_HEIGHT\n");
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "virtual_input: cannot connect to the Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.seat == nullptr || globals.pointers == nullptr || globals.keyboards == nullptr) {
        std::fprintf(stderr, "virtual_input: the compositor offers no virtual pointer or "
                             "keyboard\n");
        return 1;
    }
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names us = {"evdev", "pc105", "us", "", ""};
    xkb_keymap* keymap = context != nullptr
                             ? xkb_keymap_new_from_names(context, &us, XKB_KEYMAP_COMPILE_NO_FLAGS)
                             : nullptr;
    if (keymap == nullptr) {
        std::fprintf(stderr, "virtual_input: cannot compile a US keymap\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.pointers, globals.seat);
    int status = 0;
    {
        Keyboard keyboard(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals.keyboards,
                                                                                  globals.seat),
                          keymap);
        if (!keyboard.sendKeymap()) {
            std::fprintf(stderr, "virtual_input: cannot hand over the keymap\n");
            return 1;
        }
        status = serve(display, pointer, keyboard, width, height);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.pointers);
    zwp_virtual_keyboard_manager_v1_destroy(globals.keyboards);
    wl_seat_destroy(globals.seat);
    wl_registry_destroy(registry);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    wl_display_disconnect(display);
    return status;
}
