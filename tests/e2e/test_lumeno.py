"""End-to-end tests: lumeno in its own Xvfb, used through real mouse and keyboard events.

Run one case with
  /usr/bin/python3 test_lumeno.py --lumeno EXE --close-window EXE --picture resources/picture.bmp \
      [--screenshots DIR] GoTest.test_b2
"""

import sys
import unittest

import lumeno_x as lx


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
        self.session.wait_for_client_area(lx.result_shown(self.picture, text), label)
        self.assertTrue(self.session.alive(), "lumeno ended after the run\n" + self.session.log("lumeno"))


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
        status = s.wait_for_exit()  # fails unless lumeno ends within a few seconds
        self.assertEqual(status, 0, "exit status after closing the window\n" + s.log("lumeno"))
        self.assertFalse(s.exists(s.window), "the main window is gone")
        self.assertEqual(s.windows(lx.MAIN_TITLE) + s.windows(lx.ERROR_TITLE), [], "no window is left")

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


if __name__ == "__main__":
    unittest.main(argv=lx.parse_command_line(sys.argv), verbosity=2)
