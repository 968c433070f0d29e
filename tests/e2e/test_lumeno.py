"""End-to-end tests: lumeno on a display of its own, used through real mouse and keyboard
events, on the platform that --platform names (see harness.py).

Run one case with
  /usr/bin/python3 test_lumeno.py --platform x11 --lumeno EXE --close-window EXE \
      --picture resources/picture.bmp [--screenshots DIR] GoTest.test_b2
(wayland takes --virtual-input EXE instead of --close-window; BusyPointerTest --slow-poll LIB).
"""

import random
import subprocess
import sys
import time
import unittest

import harness as h
import platform_x11

CMD_QUIT = (304, 296, 97, 41)
CMD_RESTART = (400, 232, 89, 41)
# Go without its rightmost column, which Restart's edge overlaps.
GO_BUTTON = (h.CMD_GO[0], h.CMD_GO[1], h.CMD_GO[2] - 1, h.CMD_GO[3])
# Inside txtBrightness's frame: its text and caret, not the frame that focus may redraw.
TXT_INTERIOR = (98, 234, 37, 21)
# From the click on Quit to the end of the process. It normally takes well under 0.1 s;
# the bound leaves room for a loaded machine and a sanitizer build.
QUIT_TIMEOUT = 2.0


class LumenoTestCase(unittest.TestCase):
    LOCALE = h.FIXED_LOCALE  # the session's

    def setUp(self):
        self.picture = h.read_bmp(h.config.picture)
        self.assertEqual((self.picture.width, self.picture.height), (180, 200), "built-in picture size")
        self.session = h.new_session(self.id().split(".", 1)[1].replace(".", "-"), locale=self.LOCALE)
        self.addCleanup(self.session.close)
        self.session.start()
        geometry = self.session.geometry()
        self.assertEqual(geometry[2:], h.CLIENT_SIZE, "client area size of the main window")
        self.session.wait_for_client_area(h.picture_shown(self.picture), "started")

    def run_with(self, text, label, b=None):
        """Types text and clicks Go; checks the result for b, a text Python reads (default: text)."""
        self.session.enter_parameter(text)
        image = self.session.wait_for_client_area(h.result_shown(self.picture, b or text), label)
        self.assertTrue(self.session.alive(), "lumeno ended after the run\n" + self.session.log("lumeno"))
        return image

    def expect_clean_exit(self, what, timeout=h.EXIT_TIMEOUT):
        """Waits for lumeno to end after what; checks its status 0 and that no window is left."""
        s = self.session
        status = s.wait_for_exit(timeout)  # fails unless lumeno ends within timeout seconds
        self.assertEqual(status, 0, "exit status after %s\n%s" % (what, s.log("lumeno")))
        self.assertFalse(s.exists(s.window), "the main window is gone")
        self.assertEqual(s.windows(h.MAIN_TITLE) + s.windows(h.ERROR_TITLE), [], "no window is left")


class GoTest(LumenoTestCase):
    """Typing a parameter and clicking Go draws the curve of PicFrom into PicTo."""

    def test_b2(self):
        self.run_with("2", "b2")

    def test_b5(self):
        self.run_with("5", "b5")


class DecimalCommaTest(LumenoTestCase):
    """Where the locale writes decimals with a comma, the field reads one."""

    LOCALE = "de_DE.UTF-8"

    def setUp(self):
        # Wine takes its locale from the C library, which knows only the generated ones.
        generated = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
        self.assertIn("de_DE.utf8", generated, "the locale %s, made by scripts/setup test" % self.LOCALE)
        super().setUp()

    def test_decimal_comma(self):
        self.run_with("0,5", "b0_5", b="0.5")


class TypeMismatchTest(LumenoTestCase):
    """A text that is not a number: an error box, then the window works as before."""

    def test_error_box_then_go(self):
        s = self.session
        s.enter_parameter("abc")
        box = s.wait_for_window(h.ERROR_TITLE)
        self.assertNotEqual(box, s.window, "the error box is a window of its own")
        self.assertEqual(s.title(box), h.ERROR_TITLE)
        self.assertTrue(s.alive(), "lumeno ended on the error\n" + s.log("lumeno"))
        s.keep(s.client_area(box), "error-box")

        s.key("Return", window=box)
        s.wait_for_no_window(h.ERROR_TITLE)
        self.assertTrue(s.alive(), "lumeno ended when the error box was dismissed\n" + s.log("lumeno"))
        self.assertEqual(s.windows(h.MAIN_TITLE), [s.window], "the main window is still shown")
        # No run happened: PicTo still shows the picture, as PicFrom does.
        s.wait_for_client_area(h.picture_shown(self.picture), "dismissed")

        self.run_with("2", "b2-after-error")


class EnterTest(LumenoTestCase):
    """Enter in the parameter field presses no button: no run, no restart, no end."""

    def test_enter_in_field_presses_nothing(self):
        s = self.session
        pictures = h.picture_shown(self.picture)

        def type_and_leave(*keys):
            """Types 2 and keys into the field; Tab then moves the focus on to Quit, so that no
            caret blinks in the field."""
            s.type_parameter("2")
            s.key(*keys, "Tab")
            s.park_pointer()

        type_and_leave("5")
        time.sleep(0.3)
        expected = s.client_area().crop(TXT_INTERIOR)
        type_and_leave("Return", "5")
        # The 5 after Enter shows, so Enter reached the field before it.
        s.wait_for_client_area(lambda image: image.crop(TXT_INTERIOR).difference(expected), "after-enter")
        time.sleep(0.5)  # a run started by Enter would have drawn PicTo by now
        self.assertIsNone(pictures(s.client_area()), "no run")
        self.assertTrue(s.alive(), "lumeno ended on Enter\n" + s.log("lumeno"))
        self.assertEqual(s.windows(h.MAIN_TITLE), [s.window], "the same window")
        self.assertEqual(s.windows(h.ERROR_TITLE), [], "no error box")


class CloseTest(LumenoTestCase):
    """Closing the window through the frame ends the program with status 0."""

    def close_and_expect_exit(self):
        s = self.session
        s.close_window(s.window)
        self.expect_clean_exit("closing the window")

    def test_close_when_idle(self):
        self.close_and_expect_exit()

    def test_close_right_after_go(self):
        # The run takes some milliseconds. Go is pressed first, so that the release, which
        # clicks it, and the close follow each other as closely as two processes can: the
        # close then usually lands during the run, otherwise just after it. Either way the
        # program must end cleanly.
        s = self.session
        s.type_parameter("2")
        s.press(h.CMD_GO)
        s.release()
        self.close_and_expect_exit()


class QuitTest(LumenoTestCase):
    """Quit ends the program at once with status 0, also in the middle of a run."""

    def quit_and_expect_exit(self, clicking):
        """clicking: time.monotonic() when the xdotool call that clicks Quit was started."""
        self.session.wait_for_exit(QUIT_TIMEOUT)
        took = time.monotonic() - clicking
        print("lumeno ended within %.3f s of the click on Quit" % took, file=sys.stderr)
        self.assertLess(took, QUIT_TIMEOUT, "time from the click on Quit to the end of lumeno")
        self.expect_clean_exit("clicking Quit")

    def test_quit_when_idle(self):
        clicking = time.monotonic()
        self.session.click_control(CMD_QUIT)
        self.quit_and_expect_exit(clicking)

    def test_quit_right_after_go(self):
        # As for the close right after Go: Go's release and the click on Quit follow each other
        # as closely as they can, so Quit usually arrives while the run is still drawing rows.
        s = self.session
        s.type_parameter("2")
        s.press(h.CMD_GO)
        clicking = time.monotonic()
        s.release_and_click(CMD_QUIT)
        self.quit_and_expect_exit(clicking)


class RestartTest(LumenoTestCase):
    """Restart replaces the window with a new one in its start-up state."""

    def restart(self, click=None):
        """Clicks Restart, or calls click, which does; makes the new window the session's window."""
        s = self.session
        old = s.window
        (click or (lambda: s.click_control(CMD_RESTART)))()
        s.window = h.wait_until(lambda: [w for w in s.windows(h.MAIN_TITLE) if w != old],
                                 h.WAIT_TIMEOUT, "a new %s window" % h.MAIN_TITLE)[0]
        h.wait_until(lambda: not s.exists(old), h.WAIT_TIMEOUT, "the old window to be destroyed")
        self.assertEqual(s.windows(h.MAIN_TITLE), [s.window], "only the new window is shown")
        self.assertTrue(s.alive(), "lumeno ended on Restart\n" + s.log("lumeno"))
        self.assertEqual(s.geometry()[2:], h.CLIENT_SIZE, "client area size of the new window")

    def expect_start_up_state(self, empty_field):
        """Waits for the picture in PicFrom, PicTo empty and the field as empty_field shows it."""
        pictures = h.picture_shown(self.picture)

        def start_up_state(image):
            problem = pictures(image)
            if problem is None:
                problem = image.crop(TXT_INTERIOR).difference(empty_field)
                problem = problem and "txtBrightness against start-up: " + problem
            return problem

        self.session.wait_for_client_area(start_up_state, "restarted")

    def test_restart_after_run(self):
        s = self.session
        empty_field = s.client_area().crop(TXT_INTERIOR)
        after_run = self.run_with("5", "b5")
        # Both differ from the start-up state, so that seeing it again shows the restart.
        self.assertIsNotNone(h.picture_shown(self.picture)(after_run), "the run changed PicTo")
        self.assertIsNotNone(after_run.crop(TXT_INTERIOR).difference(empty_field), "the field shows 5")

        self.restart()
        self.expect_start_up_state(empty_field)
        self.run_with("2", "b2-after-restart")

    def test_restart_during_run(self):
        # As for Quit right after Go: the click on Restart usually arrives while the run still
        # draws rows (in Firefox, whose run takes a few tens of milliseconds, mostly just
        # after it); either way the new window comes in its start-up state.
        s = self.session
        empty_field = s.client_area().crop(TXT_INTERIOR)
        s.type_parameter("2")
        s.press(h.CMD_GO)
        self.restart(lambda: s.release_and_click(CMD_RESTART))
        self.expect_start_up_state(empty_field)
        self.run_with("2", "b2-after-restart")

    def test_restart_after_resize(self):
        s = self.session
        s.x("xdotool", "windowsize", str(s.window), "700", "500")
        h.wait_until(lambda: s.geometry()[2:] == (700, 500), h.WAIT_TIMEOUT, "the window at 700 x 500")
        s.keep(s.client_area(), "resized")
        self.restart()  # checks the new window's size
        s.wait_for_client_area(h.picture_shown(self.picture), "restarted")


class DpiTest(unittest.TestCase):
    """Above 96 dpi the layout scales from twips (10 twips a pixel at 144 dpi, 7.5 at 192) and a
    run covers the whole box, including the background beside and below the picture."""

    # By density: the client area's size; PicFrom and PicTo inside their borders,
    # txtBrightness and Go.
    LAYOUTS = {144: ((750, 533), (14, 14, 225, 249), (338, 14, 225, 249), (144, 348, 62, 38), (456, 348, 146, 62)),
               192: ((1000, 710), (18, 18, 302, 334), (450, 18, 302, 334), (192, 464, 82, 50), (608, 464, 194, 82))}

    def test_144(self):
        self.run_at(144)

    def test_192(self):
        self.run_at(192)

    def run_at(self, dpi):
        self.CLIENT_SIZE, self.PIC_FROM, self.PIC_TO, self.TXT_BRIGHTNESS, self.CMD_GO = self.LAYOUTS[dpi]
        picture = h.read_bmp(h.config.picture)
        s = h.new_session("dpi-%d" % dpi, dpi=dpi)
        self.addCleanup(s.close)
        s.start()
        self.assertEqual(s.geometry()[2:], self.CLIENT_SIZE, "client area size at %d dpi" % dpi)
        width, height = self.PIC_FROM[2:]

        def start_up(image):
            box = image.crop(self.PIC_FROM)
            problem = box.crop((0, 0, 180, 200)).difference(picture)
            if problem:
                return "picture in PicFrom: " + problem
            background = box.pixel(width - 1, height - 1)
            for rect in ((180, 0, width - 180, height), (0, 200, 180, height - 200)):
                problem = box.crop(rect).difference_from_colour(background)
                if problem:
                    return "PicFrom background %r: %s" % (rect, problem)
            return None

        shown = s.wait_for_client_area(start_up, "started")
        self.assertNotIn(shown.crop(self.PIC_FROM).pixel(width - 1, height - 1), [picture.pixel(179, 199)],
                         "the background differs from the picture's corner")

        s.type_parameter("2", self.TXT_BRIGHTNESS)
        s.click_control(self.CMD_GO)
        table = h.curve_table("2")

        def curve_applied(image):
            expected = image.crop(self.PIC_FROM).map_components(table)
            problem = image.crop(self.PIC_TO).difference(expected)
            return problem and "PicTo against the curve of PicFrom: " + problem

        result = s.wait_for_client_area(curve_applied, "b2")
        self.assertIsNone(start_up(result), "PicFrom unchanged by the run")
        self.assertTrue(s.alive(), "lumeno ended after the run\n" + s.log("lumeno"))


class ScaleTest(unittest.TestCase):
    """At scale 2 (two device pixels a pixel: a Wayland output's scale, Qt's scale factor on
    X11) the window keeps its layout in pixels, each shown as 2 x 2 device pixels, and a run
    is as exact. Qt's styles draw a picture box's border in lines one device pixel wide; the
    ring of device pixels they leave between the border and the picture must show the
    window's colour, not what lies behind the window."""

    SCALE = 2
    BORDER_LINES = 2  # device pixels: the sunken border's two lines
    SESSION_OPTIONS = {}  # the platform's, beside the scale

    def test_scale_2(self):
        picture = h.read_bmp(h.config.picture)
        s = h.new_session(self.id().split(".", 1)[1].replace(".", "-"), scale=self.SCALE, **self.SESSION_OPTIONS)
        self.addCleanup(s.close)
        s.start()
        self.assertEqual(s.geometry()[2:], h.scaled_rect(h.CLIENT_SIZE, self.SCALE), "client area on the screen")
        s.wait_for_client_area(h.picture_shown(picture, self.SCALE), "started")
        s.enter_parameter("2")
        result = h.result_shown(picture, "2", self.SCALE)
        s.wait_for_client_area(lambda image: result(image) or self.unpainted_ring(image), "b2")

    def unpainted_ring(self, image):
        """None when the ring around each box's picture shows the window's colour."""
        window = image.pixel(0, 0)
        ring = 2 * self.SCALE - self.BORDER_LINES  # a 2-pixel frame less the border's lines
        for name, box in (("PicFrom", h.PIC_FROM), ("PicTo", h.PIC_TO)):
            x, y, width, height = h.scaled_rect(box, self.SCALE)
            for rect in ((x - ring, y - ring, width + 2 * ring, ring), (x - ring, y + height, width + 2 * ring, ring),
                         (x - ring, y, ring, height), (x + width, y, ring, height)):
                problem = image.crop(rect).difference_from_colour(window)
                if problem:
                    return "%s's ring %r against the window's colour %r: %s" % (name, rect, window, problem)
        return None


class UserScalingTest(ScaleTest):
    """The user's choice of Qt's own scaling holds: on an X server of 192 dpi with
    QT_ENABLE_HIGHDPI_SCALING=1 the window is laid out at 96 logical dpi and shown as at
    scale 2, not laid out again at 192 dpi."""

    SESSION_OPTIONS = {"user_scaling": True}


class BusyPointerTest(unittest.TestCase):
    """While a run draws, the window shows the busy pointer; after it, the default pointer.
    lumeno is slowed (each poll waits 20 ms), so that the run lasts some seconds."""

    SESSION = "busy-pointer"
    SPOT = (450, 120)  # the window's empty background, right of PicTo
    AROUND_SPOT = (430, 100, 40, 40)  # where a pointer at SPOT is drawn

    def test_busy_pointer_during_run(self):
        picture = h.read_bmp(h.config.picture)
        s = h.new_session(self.SESSION, poll_delay=20)
        if not s.SHOWS_POINTER:
            self.skipTest("screenshots on %s do not show the pointer" % h.config.platform)
        self.addCleanup(s.close)
        s.start()
        s.wait_for_client_area(h.picture_shown(picture), "started")
        s.type_parameter("2")
        s.park_pointer()
        bare = s.client_area().crop(self.AROUND_SPOT)
        s.move(*self.SPOT)
        # Until slowed lumeno sets its pointer on entering, the compositor may still show the
        # one it had over the field: the idle pointer is the one that stays for three polls.
        seen = []

        def idle_pointer(image):
            seen.append(image.crop(self.AROUND_SPOT))
            if seen[-1].difference(bare) is None:
                return "no pointer at the spot"
            settled = len(seen) >= 3 and all(p.difference(seen[-1]) is None for p in seen[-3:])
            return None if settled else "the pointer at the spot still changes"

        idle = s.wait_for_client_area(idle_pointer, "idle-pointer").crop(self.AROUND_SPOT)
        finished = h.result_shown(picture, "2")

        # The busy pointer is the one that stays for three polls: on its way back to the spot
        # the pointer may show another control's for a moment.
        seen.clear()

        def busy_pointer(image):
            if finished(image) is None:
                return "the run ended before the busy pointer was seen"
            seen.append(image.crop(self.AROUND_SPOT))
            if seen[-1].difference(bare) is None:
                return "no pointer at the spot"
            if seen[-1].difference(idle) is None:
                return "the default pointer at the spot"
            settled = len(seen) >= 3 and all(p.difference(seen[-1]) is None for p in seen[-3:])
            return None if settled else "the pointer at the spot still changes"

        s.click_control(h.CMD_GO)
        s.move(*self.SPOT)
        busy = s.wait_for_client_area(busy_pointer, "busy-pointer", timeout=3.0).crop(self.AROUND_SPOT)
        # A still picture: Qt 6.4's Wayland client reads freed memory while it animates one.
        time.sleep(0.2)  # an animated wait cursor shows a dozen frames meanwhile
        later = s.client_area()
        self.assertIsNotNone(finished(later), "the run still draws")
        self.assertIsNone(later.crop(self.AROUND_SPOT).difference(busy), "the busy pointer changed during the run")

        def default_pointer_after_run(image):
            problem = finished(image) or self.not_idle(image.crop(self.AROUND_SPOT), idle, busy)
            return problem and "after the run: " + problem

        s.wait_for_client_area(default_pointer_after_run, "after-run")
        self.assertTrue(s.alive(), "lumeno ended after the run\n" + s.log("lumeno"))

    def not_idle(self, pointer, idle, busy):
        """None when the pointer at the spot is the one it was before the run."""
        return pointer.difference(idle)


class BusyPointerOverFieldTest(BusyPointerTest):
    """The same over the text field, whose own pointer is the I-beam: the busy pointer covers
    the controls too. The spot lies right of the field's text, clear of its caret."""

    SESSION = "busy-pointer-field"
    SPOT = (124, 245)
    AROUND_SPOT = (112, 236, 22, 17)  # inside the field's border, which changes with the focus

    def not_idle(self, pointer, idle, busy):
        # Before the run the compositor may still show the pointer it had on entering the
        # field; after it, the field's own: it is enough that the busy one is gone.
        return None if pointer.difference(busy) else "the busy pointer after the run"


class RobustnessTest(LumenoTestCase):
    """Input no person would give in that form; the window must come out of it working."""

    def settle(self):
        """Dismisses every error box until none comes back; leaves one main window."""
        s = self.session
        dismissed = 0
        quiet_since = time.monotonic()
        deadline = quiet_since + 20.0
        while time.monotonic() - quiet_since < 1.0:
            self.assertLess(time.monotonic(), deadline, "error boxes kept coming")
            boxes = s.windows(h.ERROR_TITLE)
            dismissed += len(boxes)
            for box in boxes:
                # No --sync: a box that goes away meanwhile would never get the focus.
                s.x("xdotool", "windowfocus", str(box), "key", "Return", check=False)
            if boxes:
                quiet_since = time.monotonic()
            time.sleep(0.1)
        self.assertTrue(s.alive(), "lumeno ended\n" + s.log("lumeno"))
        mains = s.windows(h.MAIN_TITLE)
        self.assertEqual(len(mains), 1, "one %s window" % h.MAIN_TITLE)
        s.window = mains[0]
        return dismissed

    def test_input_storm(self):
        s = self.session
        rng = random.Random(8)
        alphabet = "0123456789.,-+eE abcxyz" + "é€中ß"

        def text(n):
            return "".join(rng.choice(alphabet) for _ in range(n))

        places = {"field": h.centre(h.TXT_BRIGHTNESS), "go": h.centre(h.CMD_GO),
                  "restart": h.centre(CMD_RESTART)}
        actions = events = 0
        started = time.monotonic()
        while actions < 250:
            windows = s.windows(h.MAIN_TITLE)
            w = str(windows[0] if windows else s.window)
            chain = []
            while len(chain) < 40:
                roll = rng.random()
                actions += 1
                if roll < 0.25:
                    what = "go" if roll < 0.15 else "field"
                    chain += ["mousemove", "--window", w, *map(str, places[what]), "click", "1"]
                    events += 3  # motion, press, release
                elif roll < 0.55:
                    typed = text(300 if rng.random() < 0.1 else rng.choice((1, 3, 8)))
                    chain += ["type", "--delay", "0", typed]
                    events += 2 * len(typed)
                elif roll < 0.65:
                    chain += ["key", rng.choice(("ctrl+a", "BackSpace", "Return", "2", "Delete"))]
                    events += 2
                elif roll < 0.75:
                    chain += ["windowsize", w, str(rng.randrange(200, 900)), str(rng.randrange(150, 700))]
                    events += 1
                elif roll < 0.8:
                    # The window is replaced: later commands would address a destroyed window.
                    chain += ["mousemove", "--window", w, *map(str, places["restart"]), "click", "1"]
                    events += 3
                    break
                else:
                    chain += ["mousemove", "--window", w, *map(str, places["go"]), "click", "1"]
                    events += 3
            s.x("xdotool", *chain, check=False, timeout=30.0)
        self.assertLess(time.monotonic() - started, 25.0, "time to send the storm")
        sent = time.monotonic() - started
        first = s.window
        boxes = self.settle()
        print("storm: %d actions, about %d X input events in %.1f s; %d error box(es) left to dismiss, "
              "window %s" % (actions, events, sent, boxes, "replaced" if s.window != first else "kept"),
              file=sys.stderr)
        s.x("xdotool", "windowsize", "--sync", str(s.window), *map(str, h.CLIENT_SIZE), check=False)
        h.wait_until(lambda: s.geometry()[2:] == h.CLIENT_SIZE, h.WAIT_TIMEOUT, "the window at its size")
        self.run_with("3", "b3-after-storm")

    def test_long_paste(self):
        s = self.session
        empty_field = s.client_area().crop(TXT_INTERIOR)
        owner = platform_x11.ClipboardOwner(s.display, "ab" * 500000)
        self.addCleanup(owner.close)
        s.click_control(h.TXT_BRIGHTNESS)
        pasting = time.monotonic()
        s.key("ctrl+a", "ctrl+v")
        h.wait_until(lambda: owner.requests, h.WAIT_TIMEOUT, "lumeno to ask for the clipboard's text")
        # Otherwise the error box below could be the one for an empty field.
        h.wait_until(lambda: s.client_area().crop(TXT_INTERIOR).difference(empty_field),
                      h.WAIT_TIMEOUT, "the pasted text in the field")
        print("pasted text shown %.3f s after ctrl+v" % (time.monotonic() - pasting), file=sys.stderr)
        clicking = time.monotonic()
        s.click_control(h.CMD_GO)
        box = s.wait_for_window(h.ERROR_TITLE, timeout=5.0)
        took = time.monotonic() - clicking
        print("error box %.3f s after the click on Go" % took, file=sys.stderr)
        s.keep(s.client_area(box), "error-box")
        s.key("Return", window=box)
        s.wait_for_no_window(h.ERROR_TITLE)
        self.run_with("2", "b2-after-paste")


class KeyboardTest(LumenoTestCase):
    """The focus shows on the picture boxes, and Go pressed with Space keeps it."""

    def border(self, image, box):
        """The pixels of the 2-pixel border around a picture box's client area."""
        x, y, width, height = box
        outer = image.crop((x - 2, y - 2, width + 4, height + 4))
        return [outer.pixel(i, j) for j in range(outer.height) for i in range(outer.width)
                if not (2 <= i < outer.width - 2 and 2 <= j < outer.height - 2)]

    def focus_marked(self, focused, other, pictures):
        """A check that pictures(image) passes and that the focused box's border is marked: at
        least half its pixels differ from the other box's."""

        def check(image):
            marked, plain = self.border(image, focused), self.border(image, other)
            changed = sum(m != p for m, p in zip(marked, plain))
            if changed < len(marked) // 2:
                return "%d of %d border pixels differ from the unfocused box's" % (changed, len(marked))
            return pictures(image)

        return check

    def test_focus_marks_and_space_on_go(self):
        s = self.session
        s.focus_window()
        s.park_pointer()
        # The focus starts on PicFrom.
        start = s.wait_for_client_area(self.focus_marked(h.PIC_FROM, h.PIC_TO, h.picture_shown(self.picture)),
                                       "focus-on-picfrom")
        s.type_parameter("2")
        s.park_pointer()
        s.key("Tab", "Tab", "Tab", "Tab")  # Quit, Restart, PicFrom, Go
        go_focused = s.client_area().crop(GO_BUTTON)
        self.assertIsNotNone(go_focused.difference(start.crop(GO_BUTTON)), "Go shows the focus")

        s.key("space")
        result = h.result_shown(self.picture, "2")
        after = s.wait_for_client_area(lambda image: result(image) or image.crop(GO_BUTTON).difference(go_focused),
                                       "b2-focus-on-go")
        self.assertEqual(self.border(after, h.PIC_TO), self.border(start, h.PIC_TO), "PicTo's border unmarked")

        s.key("Tab")
        s.wait_for_client_area(self.focus_marked(h.PIC_TO, h.PIC_FROM, result), "focus-on-picto")


class OfflineTest(LumenoTestCase):
    """After one visit the browser keeps lumeno's files: with the network cut, it starts again
    and works."""

    def test_start_offline(self):
        self.session.start_again_offline()
        self.session.wait_for_client_area(h.picture_shown(self.picture), "started-offline")
        self.run_with("2", "b2-offline")


if __name__ == "__main__":
    unittest.main(argv=h.parse_command_line(sys.argv), verbosity=2)
