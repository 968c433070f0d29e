#pragma once

// The page's functions (Page.js) that the browser platform calls. Handles name the page's
// elements; 0 is none. Texts are UTF-8; a text the page returns is the caller's to free.
// Sizes and positions are in device pixels at a device pixel ratio: the page shows them as
// CSS pixels, each `ratio` device pixels.
extern "C" {

// What the user did, queued by the page's listeners for the program to take.
enum PageInputKind { pageClick = 1, pageDensityChange = 2 };
struct PageInput {
    int kind;
    int window;  // a window handle; 0 for every window
    int control; // for a click, the index of the button among the window's controls
};

void lumeno_page_start(const char* applicationName);

int lumeno_window_create(const char* caption);
// Places a window or a control; a width below 0 leaves its size alone.
void lumeno_control_place(int element, int left, int top, int width, int height, double ratio);
void lumeno_window_show(int window, bool shown);
void lumeno_window_destroy(int window);
void lumeno_window_set_pointer(int window, bool busy);
void lumeno_window_set_busy(int window, bool busy);
void lumeno_window_announce(int window, const char* text);
double lumeno_window_point_size(int window);
int lumeno_window_focused(int window);
void lumeno_window_clear_focus(int window);

int lumeno_button_create(int window, const char* caption, int index);
void lumeno_control_enable(int control, bool enabled);
void lumeno_control_focus(int control);
int lumeno_label_create(int window, const char* caption);
void lumeno_label_names(int label, int control);
bool lumeno_label_fits(int label, double points);
void lumeno_label_set_point_size(int label, double points);
int lumeno_field_create(int window);
char* lumeno_field_text(int field);
void lumeno_field_focus_selected(int field);
int lumeno_canvas_create(int window, const char* name);
// Sizes a canvas; false when it has that size already, and keeps what it shows.
bool lumeno_canvas_resize(int canvas, int width, int height, double ratio);
// Puts rows top to bottom - 1 of a columns x rows image inside the border, from words that hold
// the bytes R, G, B, A in memory.
void lumeno_canvas_paint(int canvas, const unsigned* pixels, int columns, int rows, int top,
                         int bottom);
void lumeno_canvas_describe(int canvas, const char* text);

double lumeno_device_pixel_ratio();
char* lumeno_decimal_separator();

// Takes the oldest input into `input`; false when there is none.
bool lumeno_next_input(PageInput* input);
// The waits of the program's stack, each returning when it ends: until there is input; until
// the page has painted its next frame; until the user has closed the error box.
void lumeno_wait_for_input();
void lumeno_next_frame();
void lumeno_error_box(const char* title, const char* text);
// Whether the page is due to paint a frame.
bool lumeno_frame_due();
}
