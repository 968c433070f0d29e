// Form1's Windows window in this process, moved to screens of other densities as Windows
// tells a per-monitor aware program: WM_DPICHANGED with a suggested frame.
#include "CurveGolden.h"
#include "DensityFunctions.h"
#include "ErrorReport.h"
#include "Form.h"
#include "Form1.h"
#include "PictureBox.h"
#include "Program.h"
#include "ProgramPictures.h"
#include "Runtime.h"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>
#include <windows.h>

namespace lumeno {
namespace {

// Form1's controls in tab order, which is the order of its child windows.
constexpr int picFrom = 0;
constexpr int cmdGo = 1;
constexpr int picTo = 2;
constexpr int txtBrightness = 4;

// Form1's client size and its controls' boxes in tab order (left, top, width, height) at a
// density: the twips of its definition at 15, 10 and 7.5 twips a pixel, each rounded to the
// nearest pixel, ties (cmdGo's and txtBrightness's at 144 dpi) to even.
struct Layout {
    SIZE client;
    std::array<std::array<LONG, 4>, 7> controls;
};
const std::map<UINT, Layout> layouts{
    {96,
     {{500, 355},
      {{{8, 8, 153, 169},
        {304, 232, 97, 41},
        {224, 8, 153, 169},
        {32, 232, 49, 25},
        {96, 232, 41, 25},
        {304, 296, 97, 41},
        {400, 232, 89, 41}}}}},
    {144,
     {{750, 533},
      {{{12, 12, 229, 253},
        {456, 348, 146, 62},
        {336, 12, 229, 253},
        {48, 348, 73, 37},
        {144, 348, 62, 38},
        {456, 444, 145, 61},
        {600, 348, 133, 61}}}}},
    {192,
     {{1000, 710},
      {{{16, 16, 306, 338},
        {608, 464, 194, 82},
        {448, 16, 306, 338},
        {64, 464, 98, 50},
        {192, 464, 82, 50},
        {608, 592, 194, 82},
        {800, 464, 178, 82}}}}},
};

// What Windows sends when a window moves to a screen of that density: a frame at `corner`,
// of a size that the window is to correct to its own layout.
void changeDensity(HWND window, UINT dpi, POINT corner) {
    RECT suggested{corner.x, corner.y, corner.x + 640, corner.y + 480};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DensityChangeTest : public testing::Test {
protected:
    void SetUp() override {
        setErrorPresenter(
            [this](const std::string&, const std::string& text) { reports.push_back(text); });
        form.show();
        pumpEvents();
        window = FindWindowW(L"LumenoForm", L"Form1");
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(win32::dpiForWindow(window), 96U);
    }

    void TearDown() override {
        EXPECT_TRUE(reports.empty()) << reports.front();
        form.unload();
        pumpEvents();
        setErrorPresenter({});
    }

    HWND control(int index) const {
        HWND child = GetWindow(window, GW_CHILD);
        for (int i = 0; i < index; ++i)
            child = GetWindow(child, GW_HWNDNEXT);
        return child;
    }

    void runWithParameter(const wchar_t* text) const {
        SetWindowTextW(control(txtBrightness), text);
        SendMessageW(control(cmdGo), BM_CLICK, 0, 0);
    }

    // The frame's corner is there, the client area and every control stand where their
    // twips fall at that density.
    void expectLayoutAt(POINT corner, UINT dpi) const {
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, corner.x);
        EXPECT_EQ(frame.top, corner.y);
        const Layout& layout = layouts.at(dpi);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, layout.client.cx);
        EXPECT_EQ(client.bottom, layout.client.cy);
        for (std::size_t i = 0; i < layout.controls.size(); ++i) {
            RECT box;
            GetWindowRect(control(static_cast<int>(i)), &box);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
            const std::array<LONG, 4> shown{box.left, box.top, box.right - box.left,
                                            box.bottom - box.top};
            EXPECT_EQ(shown, layout.controls[i]) << form1Definition().controls[i].name;
        }
    }

    // What a picture box shows inside its border, read back from its window.
    PixelImage shown(int box) const {
        HWND boxWindow = control(box);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client;
        GetClientRect(boxWindow, &client);
        constexpr int border = PictureBox::border;
        PixelImage screen(client.right - 2 * border, client.bottom - 2 * border, 0);
        HDC device = GetDC(boxWindow);
        HDC memory = CreateCompatibleDC(device);
        HBITMAP bitmap = CreateCompatibleBitmap(device, screen.width(), screen.height());
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, screen.width(), screen.height(), device, border, border, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = screen.width();
        format.bmiHeader.biHeight = -screen.height(); // top-down, as a PixelImage
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(screen.height()), screen.row(0), &format,
                  DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(boxWindow, device);
        return screen;
    }

    // A box shows a picture of width x height pixels unscaled from its top-left corner, each
    // of them the colour value of the built-in picture's pixel through `colour`, and the
    // background beyond it.
    template <class Colour>
    void expectShows(const PixelImage& screen, int width, int height, Colour colour) const {
        const auto background = static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE));
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x)
                ASSERT_EQ(PixelImage::colourValue(screen.row(y)[x]),
                          x < width && y < height
                              ? colour(PixelImage::colourValue(picture.row(y)[x]))
                              : background)
                    << x << ", " << y;
    }
    void expectShowsTheBuiltInPicture(const PixelImage& screen) const {
        expectShows(screen, picture.width(), picture.height(), [](std::int32_t c) { return c; });
    }

    // After a run with b = 2 at 96 dpi and a change to 144 dpi with the frame at (60, 70):
    // the result, the 149 x 165 pixels the box showed at 96 dpi, stays its picture.
    void expectResultOfRunAt96ShownAt144() const {
        expectLayoutAt({60, 70}, 144);
        const PixelImage result = shown(picTo);
        ASSERT_EQ(result.width(), 225);
        ASSERT_EQ(result.height(), 249);
        const auto line = std::ranges::find(golden(), 0x40000000U, &GoldenLine::bits); // b = 2
        ASSERT_NE(line, golden().end()) << "no line for b = 2 in " << LUMENO_CURVE_GOLDEN;
        const auto curve = [&line](std::int32_t c, int shift) {
            return std::stoi(line->entries.at(static_cast<std::size_t>(c >> shift & 0xFF)))
                   << shift;
        };
        expectShows(result, 149, 165,
                    [&curve](std::int32_t c) { return curve(c, 0) | curve(c, 8) | curve(c, 16); });
    }

    Form form{form1Definition(), programHeader().bindings};
    HWND window = nullptr;
    const PixelImage& picture = programPicture("picture");
    std::vector<std::string> reports;
};

// The densities the window moves to, one after another, from 96 dpi; without the density
// functions of Windows 10 1607, as on Windows 8.1, which sends WM_DPICHANGED as well and
// gives the window its monitor's density from shcore.
struct Moves {
    const char* name;
    std::vector<UINT> dpis;
    bool windows10Functions = true;
};

std::ostream& operator<<(std::ostream& out, const Moves& moves) {
    return out << moves.name;
}

class DensityMovesTest : public DensityChangeTest, public testing::WithParamInterface<Moves> {
protected:
    void SetUp() override {
        win32::withholdWindows10DensityFunctions(!GetParam().windows10Functions);
        DensityChangeTest::SetUp();
    }

    void TearDown() override {
        DensityChangeTest::TearDown();
        win32::withholdWindows10DensityFunctions(false);
    }
};

TEST_P(DensityMovesTest, WindowIsLaidOutAtTheNewDensity) {
    LONG corner = 40;
    for (const UINT dpi : GetParam().dpis) {
        SCOPED_TRACE(dpi);
        corner += 20;
        changeDensity(window, dpi, {corner, corner + 10});
        expectLayoutAt({corner, corner + 10}, dpi);
        expectShowsTheBuiltInPicture(shown(picFrom));
    }
}

INSTANTIATE_TEST_SUITE_P(Densities, DensityMovesTest,
                         testing::Values(Moves{"96_to_144", {144}}, Moves{"144_to_96", {144, 96}},
                                         Moves{"96_to_192", {192}},
                                         Moves{"144_to_96_without_windows_10", {144, 96}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DensityChangeTest, ResultStaysThePictureAtTheNewDensity) {
    runWithParameter(L"2");
    changeDensity(window, 144, {60, 70});
    expectResultOfRunAt96ShownAt144();
}

// A change sent while the run pumps events after a row, at the n-th paint of the result
// box, and the user switching to another window and back meanwhile: the run finishes at the
// density it began with, the window follows the change as soon as it has, and Go, which had
// the focus when pressed, has it back.
int paintsBeforeChange = 0;
bool changedDuringRun = false;

LRESULT CALLBACK changeDensityAtAPaint(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    if (message == WM_PAINT && --paintsBeforeChange == 0) {
        changedDuringRun = IsWindowEnabled(GetWindow(box, GW_HWNDPREV)) == FALSE; // Go
        changeDensity(GetParent(box), 144, {60, 70});
        HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8, nullptr,
                                     nullptr, nullptr, nullptr);
        SetActiveWindow(other);
        SetActiveWindow(GetParent(box));
        DestroyWindow(other);
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

TEST_F(DensityChangeTest, ChangeDuringARunFollowsItsEnd) {
    paintsBeforeChange = 20;
    SetWindowSubclass(control(picTo), changeDensityAtAPaint, 0, 0);
    SetForegroundWindow(window);
    SetFocus(control(cmdGo));
    runWithParameter(L"2");
    RemoveWindowSubclass(control(picTo), changeDensityAtAPaint, 0);
    ASSERT_TRUE(changedDuringRun);
    EXPECT_TRUE(IsWindowEnabled(control(cmdGo)));
    EXPECT_EQ(GetFocus(), control(cmdGo));
    expectResultOfRunAt96ShownAt144();
}

} // namespace
} // namespace lumeno
