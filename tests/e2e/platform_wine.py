"""The wine platform: the Windows program lumeno.exe under Wine, in an X server of its own.

The X side is the x11 platform's: a private Xvfb with no window manager, xdotool, import.
lumeno.exe runs in the Wine prefix that --wine-prefix names (made by the wine_prefix
fixture), with Wine drawing the windows' frames itself (Managed=N): an X window holds a
whole Windows window, its frame included, and the client area sits inside it at the
frame's offset.

Wine's programs share one wineserver and one desktop process, which opens the display of
the program that started it and ends with that display; a program that starts meanwhile,
or that runs on while it ends, can lose its keyboard input or fail to make its window. So
no two tests use the prefix at once (a ctest resource lock), and a session ends every Wine
process of the prefix before it starts lumeno and again when it closes. Wine takes its
density from the prefix's LogPixels value when a program starts, not from the X server.
"""

import platform_x11
from harness import FIXED_LOCALE, config

# Wine's own frame around a window with a caption: the border's width and the client area's
# top (border and caption) in pixels, at each density the tests use.
FRAME = {96: (3, 22), 144: (3, 31)}
# The middle of the frame's close box from the top-right corner of the frame, at 96 dpi.
CLOSE_BOX = (13, 11)


class Session(platform_x11.Session):
    def __init__(self, name, dpi=96, locale=FIXED_LOCALE):
        """dpi: the prefix's LogPixels for this session's program. Wine's locale, and so the
        program's number format, follows LANG."""
        super().__init__(name, locale=locale)
        self.wine_dpi = dpi

    def environment(self):
        env = super().environment()
        env.update(WINEPREFIX=config.wine_prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        return env

    def command(self):
        # wine returns the program's exit status.
        return ["wine", config.lumeno]

    def _wine(self, *command, check=True):
        self.run_tool(*command, check=check, timeout=30)

    def _end_wine(self):
        self._wine("wineserver", "-k", check=False)  # fails when no wineserver runs
        self._wine("wineserver", "-w")

    def start_display(self):
        super().start_display()
        self._end_wine()
        self._wine("wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                   "/d", str(self.wine_dpi), "/f")

    def stop_display(self):
        self._end_wine()
        super().stop_display()

    def _frame(self):
        return FRAME[self.wine_dpi]

    def geometry(self, window=None):
        x, y, width, height = super().geometry(window)
        border, top = self._frame()
        return x + border, y + top, width - 2 * border, height - top - border

    def _move_arguments(self, x, y, window, sync=True):
        border, top = self._frame()
        return super()._move_arguments(x + border, y + top, window, sync)

    def close_window(self, window):
        """Clicks the close box of the window's frame."""
        width = super().geometry(window)[2]  # the whole X window
        right, down = (round(v * self.wine_dpi / 96) for v in CLOSE_BOX)
        self.x("xdotool", "mousemove", "--sync", "--window", str(window), str(width - right), str(down),
               "click", "1")
