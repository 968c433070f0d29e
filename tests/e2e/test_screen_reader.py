"""lumeno as a blind user hears it: under the Orca screen reader, driven by real key presses.

Runs in a D-Bus session of its own, where the session bus starts the accessibility bus:
  dbus-run-session -- /usr/bin/python3 test_screen_reader.py --lumeno EXE --picture resources/picture.bmp \
      [--screenshots DIR]

One Xvfb with the openbox window manager (without one the window never gets the X focus and
Orca says nothing) and one Orca serve every case; each case starts lumeno anew. Orca speaks
through speech-dispatcher's dummy output module, configured in the test's own folder, and
writes what it says to its debug log as "SPEECH OUTPUT" lines: what the user hears.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import tty
import unittest

import harness as lx

ORCA_START_TIMEOUT = 30.0
# Orca reads each key and what follows it; a key pressed meanwhile cuts that short.
KEY_PAUSE = 0.8
FIELD = "parameter value? text."

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*\{'established'", re.S)


class Orca:
    """Orca with settings, speech and logs of its own, on a session's display."""

    def __init__(self, session, folder):
        self.session = session
        self.text = ""
        self.lock = threading.Lock()
        config = os.path.join(folder, "config", "speech-dispatcher")
        os.makedirs(config)
        # Without a voice Orca waits for one; the dummy module answers at once.
        with open(os.path.join(config, "speechd.conf"), "w") as f:
            f.write('AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n')
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        environment = dict(session.environment(), HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                           XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=os.path.join(folder, "data"),
                           XDG_CACHE_HOME=os.path.join(folder, "cache"))
        # Orca buffers its debug log in blocks, except on a terminal, where it writes each line
        # at once: it gets one, and the test reads the other end.
        # The test holds both ends until Orca has ended.
        self.terminal, self.log_terminal = os.openpty()
        tty.setraw(self.log_terminal)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        with open(os.path.join(folder, "orca.log"), "wb") as log:
            # Its own preferences folder: no first-run setup to wait for.
            self.process = subprocess.Popen(
                ["orca", "--replace", "--user-prefs", os.path.join(folder, "prefs"),
                 "--debug-file", os.ttyname(self.log_terminal)],
                env=environment, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                preexec_fn=lx.die_with_parent)
        self.wait_for_speech("Screen reader on.", ORCA_START_TIMEOUT)

    def _read(self):
        while True:
            try:
                more = os.read(self.terminal, 65536)
            except OSError:  # both ends of the log's terminal closed
                return
            if not more:
                return
            with self.lock:
                self.text += more.decode(errors="replace")

    def close(self):
        lx.stop(self.process)
        os.close(self.log_terminal)
        self.reader.join(5)
        os.close(self.terminal)

    def log(self):
        with self.lock:
            return self.text

    def mark(self):
        """Where the log ends now: speech() from here on."""
        return len(self.log())

    def speech(self, since=0):
        """What Orca said since a mark, utterance by utterance."""
        return SPEECH.findall(self.log()[since:])

    def wait_for_speech(self, expected, timeout=lx.WAIT_TIMEOUT, since=0):
        """Waits until Orca said expected (a whole utterance, or a pattern it must match);
        returns everything it said since the mark."""
        def said():
            speech = self.speech(since)
            if self.process.poll() is not None:
                raise AssertionError("Orca ended with status %d" % self.process.returncode)
            found = any(re.fullmatch(expected, s) if isinstance(expected, re.Pattern) else s == expected
                        for s in speech)
            return speech if found else None

        try:
            return lx.wait_until(said, timeout, "Orca to say %r" % getattr(expected, "pattern", expected))
        except AssertionError as error:
            raise AssertionError("%s; it said: %r" % (error, self.speech(since))) from None


class ScreenReaderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = lx.new_session("screen-reader")
        try:
            cls.session.start_display()
            with open(cls.session._log_path("openbox"), "wb") as log:
                cls.window_manager = subprocess.Popen(
                    ["openbox", "--config-file", "/dev/null"], env=cls.session.environment(),
                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, preexec_fn=lx.die_with_parent)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "window_manager", None):
            lx.stop(cls.window_manager)
        cls.session.close()

    def setUp(self):
        # A screen reader of its own for each case: Orca 43 at times stops hearing the
        # accessibility bus when a program it was reading ends.
        folder = tempfile.mkdtemp(prefix="lumeno-orca-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        self.session = type(self).session
        self.orca = Orca(self.session, folder)
        self.addCleanup(self.keep_orca_log)
        # Qt's bridge to the accessibility bus, whether or not it notices the screen reader.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        mark = self.orca.mark()
        self.session._start_lumeno()
        self.addCleanup(lx.stop, self.session.lumeno)
        # The window is read, then the control with the focus.
        self.orca.wait_for_speech("Source picture image.", since=mark)

    def keep_orca_log(self):
        """Orca ended, and what it said kept beside the screenshots, for a failure's reader."""
        self.orca.close()
        with open(self.session._log_path("orca-" + self._testMethodName), "w") as f:
            f.write(self.orca.log())

    def press(self, *keys):
        """Presses keys one by one, as a user waiting for each to be read; returns the mark from
        before the last."""
        mark = self.orca.mark()
        for key in keys:
            time.sleep(KEY_PAUSE)
            mark = self.orca.mark()
            self.session.x("xdotool", "key", key)
        return mark

    def heard(self, mark, expected):
        """What was said from the mark until expected and just after it, without the keys'
        names, which Orca says with a space after them."""
        self.orca.wait_for_speech(expected, since=mark)
        time.sleep(KEY_PAUSE)
        return [s for s in self.orca.speech(mark) if not s.endswith(" ")]

    def to_field(self, text=None):
        """Tab to the field; types text there."""
        mark = self.press("Tab", "Tab", "Tab")
        if text is not None:
            time.sleep(KEY_PAUSE)
            self.session.x("xdotool", "type", "--delay", "100", "--", text)
        return mark

    def test_field_named_on_every_visit_and_read_whole(self):
        """The first Tab to the empty field names it; coming back, its text is read once, whole,
        after its name; leaving it says nothing of its selection."""
        self.orca.wait_for_speech(FIELD, since=self.to_field())
        self.session.x("xdotool", "type", "--delay", "100", "--", "abc")
        mark = self.press("Tab")
        self.orca.wait_for_speech("Quit push button.", since=mark)
        self.assertNotIn("Text unselected.", self.orca.speech(mark), "leaving the field")
        mark = self.press("shift+Tab")
        self.assertEqual(self.heard(mark, "abc selected."), [FIELD, "abc selected."], "back in the field")

    def test_end_of_run_announced_with_focus_on_go(self):
        """Space on Go: the window is busy, then the end is announced with what was drawn,
        while the focus stays on Go."""
        self.to_field("2")
        mark = self.press("shift+Tab", "shift+Tab")
        self.orca.wait_for_speech("Go push button.", since=mark)
        mark = self.press("space")
        announcement = re.compile(r"notification The result is drawn\. A picture the program drew, 149 by 165 "
                                  r"pixels; mean brightness \d+ percent\.")
        self.orca.wait_for_speech(announcement, since=mark)
        busy = re.findall(r"object:state-changed:busy for \[frame \| Form1\] in \[application \| lumeno\] \((\d)",
                          self.orca.log()[mark:])
        self.assertEqual(busy, ["1", "0"], "the window's busy state during the run")
        self.assertNotIn("Go push button.", self.orca.speech(mark), "the focus left Go")

    def test_type_mismatch_puts_focus_in_field_with_text_selected(self):
        """After the type-mismatch report the user is in the field, its text selected: what they
        type replaces it."""
        self.to_field("abc")
        mark = self.press("shift+Tab", "shift+Tab")
        self.orca.wait_for_speech("Go push button.", since=mark)
        mark = self.press("space")
        self.orca.wait_for_speech("OK push button.", since=mark)
        mark = self.press("Return")
        self.assertEqual(self.heard(mark, "abc selected.")[-2:], [FIELD, "abc selected."],
                         "after the report is dismissed")
        self.session.x("xdotool", "type", "--delay", "100", "--", "2")
        mark = self.press("shift+Tab", "shift+Tab", "space")
        self.orca.wait_for_speech(re.compile(r"notification The result is drawn\..*"), since=mark)

    def test_messages_read_without_symbols(self):
        """The floating-point report reads the curve in words and signs a synthesiser says."""
        self.to_field("-1")
        mark = self.press("shift+Tab", "shift+Tab")
        self.orca.wait_for_speech("Go push button.", since=mark)
        mark = self.press("space")
        message = re.compile(r"Floating-point error\s+The brightness curve divided by zero: (.*)", re.S)
        spoken = next(m.group(1) for s in self.orca.wait_for_speech(message, since=mark)
                      for m in [message.fullmatch(s)] if m)
        self.assertEqual(spoken, "b × x + 1 is 0 for b = -1 and red 255.")
        self.press("Escape")


if __name__ == "__main__":
    unittest.main(argv=lx.parse_command_line(sys.argv), verbosity=2)
