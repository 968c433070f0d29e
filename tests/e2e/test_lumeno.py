"""End-to-end tests: lumeno in its own Xvfb, used through real mouse and keyboard events.

Run one case with
  /usr/bin/python3 test_lumeno.py --lumeno EXE --close-window EXE --picture resources/picture.bmp \
      [--screenshots DIR] GoTest.test_b2
"""

import sys
import time
import unittest

import lumeno_x as lx

CMD_QUIT = (304, 296, 97, 41)
CMD_RESTART = (400, 232, 89, 41)
# Inside txtBrightness's frame: its text and caret, not the frame that focus may redraw.
TXT_INTERIOR = (98, 234, 37, 21)
# From the click on Quit to the end of the process. It normally takes well under 0.1 s;
# the bound leaves room for a loaded machine and a sanitizer build.
QUIT_TIMEOUT = 2.0


class LumenoTestCase(unittest.TestCase):
    def setUp(self):
        self.picture = lx.read_bmp(lx.config.picture)
        self.assertEqual((self.picture.width, self.picture.height), (180, 200), "built-in picture size")
        self.session = lx.Session(self.id().split(".", 1)[1].replace(".", "-"))
        self.addCleanup(self.session.close)
        self.session.start()
        geometry = self.session.geometry()
        self.assertEqual(geometry[2:], lx.CLIENT_SIZE, "client area size of the main window")
        self.session.wait_for_client_area(lx.picture_shown(self.picture), "started")

    def run_with(self, text, label):
        self.session.enter_parameter(text)
        image = self.session.wait_for_client_area(lx.result_shown(self.picture, text), label)
        self.assertTrue(self.session.alive(), "lumeno ended after the run\n" + self.session.log("lumeno"))
        return image

    def expect_clean_exit(self, what, timeout=lx.EXIT_TIMEOUT):
        """Waits for lumeno to end after what; checks its status 0 and that no window is left."""
        s = self.session
        status = s.wait_for_exit(timeout)  # fails unless lumeno ends within timeout seconds
        self.assertEqual(status, 0, "exit status after %s\n%s" % (what, s.log("lumeno")))
        self.assertFalse(s.exists(s.window), "the main window is gone")
        self.assertEqual(s.windows(lx.MAIN_TITLE) + s.windows(lx.ERROR_TITLE), [], "no window is left")


class GoTest(LumenoTestCase):
    """Typing a parameter and clicking Go draws the curve of PicFrom into PicTo."""

    def test_b2(self):
        self.run_with("2", "b2")

    def test_b5(self):
        self.run_with("5", "b5")


class TypeMismatchTest(LumenoTestCase):
    """A text that is not a number: an error box, then the window works as before."""

    def test_error_box_then_go(self):
        s = self.session
        s.enter_parameter("abc")
        box = s.wait_for_window(lx.ERROR_TITLE)
        self.assertNotEqual(box, s.window, "the error box is a window of its own")
        self.assertEqual(s.title(box), lx.ERROR_TITLE)
        self.assertTrue(s.alive(), "lumeno ended on the error\n" + s.log("lumeno"))
        s.keep(s.screen().crop(s.geometry(box)), "error-box")

        s.key("Return", window=box)
        s.wait_for_no_window(lx.ERROR_TITLE)
        self.assertTrue(s.alive(), "lumeno ended when the error box was dismissed\n" + s.log("lumeno"))
        self.assertEqual(s.windows(lx.MAIN_TITLE), [s.window], "the main window is still shown")
        # No run happened: PicTo still shows the picture, as PicFrom does.
        s.wait_for_client_area(lx.picture_shown(self.picture), "dismissed")

        self.run_with("2", "b2-after-error")


class CloseTest(LumenoTestCase):
    """Closing the window through the frame ends the program with status 0."""

    def close_and_expect_exit(self):
        s = self.session
        s.x(lx.config.close_window, str(s.window))
        self.expect_clean_exit("closing the window")

    def test_close_when_idle(self):
        self.close_and_expect_exit()

    def test_close_right_after_go(self):
        # The run takes some milliseconds. Go is pressed first, so that the release, which
        # clicks it, and the close follow each other as closely as two processes can: the
        # close then usually lands during the run, otherwise just after it. Either way the
        # program must end cleanly.
        s = self.session
        s.click_control(lx.TXT_BRIGHTNESS)
        s.key("ctrl+a")
        s.type_text("2")
        s.press(lx.CMD_GO)
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
        # As for the close right after Go: Go's release and the click on Quit go out in one
        # xdotool call, so Quit usually arrives while the run is still drawing rows.
        s = self.session
        s.click_control(lx.TXT_BRIGHTNESS)
        s.key("ctrl+a")
        s.type_text("2")
        s.press(lx.CMD_GO)
        x, y = lx.centre(CMD_QUIT)
        clicking = time.monotonic()
        s.x("xdotool", "mouseup", "1", "mousemove", "--window", str(s.window), str(x), str(y), "click", "1")
        self.quit_and_expect_exit(clicking)


class RestartTest(LumenoTestCase):
    """Restart replaces the window with a new one in its start-up state."""

    def restart(self):
        """Clicks Restart; makes the new window the session's window."""
        s = self.session
        old = s.window
        s.click_control(CMD_RESTART)
        s.window = lx.wait_until(lambda: [w for w in s.windows(lx.MAIN_TITLE) if w != old],
                                 lx.WAIT_TIMEOUT, "a new %s window" % lx.MAIN_TITLE)[0]
        lx.wait_until(lambda: not s.exists(old), lx.WAIT_TIMEOUT, "the old window to be destroyed")
        self.assertEqual(s.windows(lx.MAIN_TITLE), [s.window], "only the new window is shown")
        self.assertTrue(s.alive(), "lumeno ended on Restart\n" + s.log("lumeno"))
        self.assertEqual(s.geometry()[2:], lx.CLIENT_SIZE, "client area size of the new window")

    def test_restart_after_run(self):
        s = self.session
        empty_field = s.client_area().crop(TXT_INTERIOR)
        after_run = self.run_with("5", "b5")
        # Both differ from the start-up state, so that seeing it again shows the restart.
        self.assertIsNotNone(lx.picture_shown(self.picture)(after_run), "the run changed PicTo")
        self.assertIsNotNone(after_run.crop(TXT_INTERIOR).difference(empty_field), "the field shows 5")

        self.restart()
        pictures = lx.picture_shown(self.picture)

        def start_up_state(image):
            problem = pictures(image)
            if problem is None:
                problem = image.crop(TXT_INTERIOR).difference(empty_field)
                problem = problem and "txtBrightness against start-up: " + problem
            return problem

        s.wait_for_client_area(start_up_state, "restarted")
        self.run_with("2", "b2-after-restart")

    def test_restart_after_resize(self):
        s = self.session
        s.x("xdotool", "windowsize", str(s.window), "700", "500")
        lx.wait_until(lambda: s.geometry()[2:] == (700, 500), lx.WAIT_TIMEOUT, "the window at 700 x 500")
        s.keep(s.screen().crop(s.geometry()), "resized")
        self.restart()  # checks the new window's size
        s.wait_for_client_area(lx.picture_shown(self.picture), "restarted")


if __name__ == "__main__":
    unittest.main(argv=lx.parse_command_line(sys.argv), verbosity=2)
