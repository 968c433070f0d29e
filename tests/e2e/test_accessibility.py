"""lumeno as a screen reader sees it: through the AT-SPI accessibility bus.

Runs in a D-Bus session of its own, where the session bus starts the accessibility bus:
  dbus-run-session -- /usr/bin/python3 test_accessibility.py --lumeno EXE --close-window EXE \
      --picture resources/picture.bmp [--screenshots DIR]

lumeno runs in a private Xvfb (the harness's x11 session). Everything is done through AT-SPI, as
assistive technology does it, except reading the result's pixels from a screenshot and,
in the last step, real keys.
"""

import os
import sys
import unittest

import pyatspi
from gi.repository import GLib

import harness as lx


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def window_roles(application):
    """The roles of the application's windows, or None while one of them is going away (a
    window closing while it is listed is None or gone from the bus)."""
    try:
        windows = children(application)
        return None if None in windows else [w.getRoleName() for w in windows]
    except GLib.Error:
        return None


def mean_brightness(image):
    """The mean of every component, in percent of 255, rounded half up."""
    total, count = sum(image.data), len(image.data)
    return (total * 100 + count * 255 // 2) // (count * 255)


def action(accessible, name):
    """Does the accessible's action of that name (such as "Press")."""
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        raise AssertionError("%s %r has no action %r, only %r" % (accessible.getRoleName(), accessible.name,
                                                                  name, names))
    actions.doAction(names.index(name))


class AccessibilityTest(unittest.TestCase):
    def setUp(self):
        # Qt's bridge to the accessibility bus, without a desktop that asks for it.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.picture = lx.read_bmp(lx.config.picture)
        self.session = lx.new_session("accessibility")
        self.addCleanup(self.session.close)
        self.session.start()
        desktop = pyatspi.Registry.getDesktop(0)
        self.application = lx.wait_until(
            lambda: next((a for a in children(desktop) if a is not None and a.name == "lumeno" and a.childCount),
                         None),
            lx.START_TIMEOUT, "lumeno on the accessibility bus")
        self.events = []
        pyatspi.Registry.registerEventListener(
            self.events.append, "object:property-change:accessible-description", "object:state-changed:focused")
        self.addCleanup(pyatspi.Registry.deregisterEventListener, self.events.append,
                        "object:property-change:accessible-description", "object:state-changed:focused")

    def pump_until(self, condition, what, timeout=lx.WAIT_TIMEOUT, interval=0.01):
        """Delivers accessibility events until condition() is true; returns its value."""
        context = GLib.MainContext.default()

        def delivered():
            while context.iteration(False):
                pass
            return condition()

        return lx.wait_until(delivered, timeout, what, interval)

    def described(self, accessible):
        """Events since the last call that said accessible's description changed."""
        found = [e for e in self.events
                 if e.type == "object:property-change:accessible-description" and e.source == accessible]
        self.events.clear()
        return found

    def test_screen_reader(self):
        window = self.check_tree()
        self.run_pressed_through_atspi(window)
        self.error_report_as_alert(window)
        self.keyboard_run_keeps_focus_on_go(window)

    def check_tree(self):
        """Roles, names and the label's relation, as a screen reader presents them."""
        windows = children(self.application)
        self.assertEqual([(w.getRoleName(), w.name) for w in windows], [("frame", lx.MAIN_TITLE)],
                         "the application's windows")
        window = windows[0]
        controls = children(window)
        self.assertEqual([(c.getRoleName(), c.name) for c in controls], [
            ("image", "Source picture"),
            ("push button", "Go"),
            ("image", "Result picture"),
            ("label", "parameter value?"),
            ("text", "parameter value?"),
            ("push button", "Quit"),
            ("push button", "Restart"),
            ("notification", ""),
        ], "the window's controls in tab order, then where it announces what is not about the focus")
        self.pictures = {c.name: c for c in controls if c.getRoleName() == "image"}
        shown = mean_brightness(lx.shown_part(self.picture))
        for picture in self.pictures.values():
            self.assertEqual(picture.description, "The program's picture of 180 by 200 pixels, shown from its "
                             "top-left corner in a box of 149 by 165 pixels; mean brightness %d percent." % shown,
                             "what %s shows" % picture.name)
        label, field = controls[3], controls[4]
        labelled_by = [r for r in field.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        self.assertEqual([r.getTarget(i) for r in labelled_by for i in range(r.getNTargets())], [label],
                         "the field is labelled by the label")
        self.assertFalse(window.getState().contains(pyatspi.STATE_BUSY), "busy before a run")
        return window

    def run_pressed_through_atspi(self, window):
        """The parameter set and Go pressed through AT-SPI: the window is busy while the run
        draws, the result box tells that its picture changed, and the result is exact."""
        controls = children(window)
        go, field, result = controls[1], controls[4], self.pictures["Result picture"]
        self.described(result)
        field.queryEditableText().setTextContents("2")
        self.assertEqual(field.queryText().getText(0, -1), "2")
        action(go, "Press")
        # lumeno answers AT-SPI between the rows it draws: asked over and over without a
        # pause, it is asked during the run too, and must say that the window is busy.
        busy_seen = []

        def finished():
            busy_seen.append(window.getState().contains(pyatspi.STATE_BUSY))
            return self.described(result)

        self.pump_until(finished, "the result box to tell that its picture changed", interval=0)
        self.assertIn(True, busy_seen, "the window reported busy in one of %d answers during the run"
                      % len(busy_seen))
        self.assertFalse(window.getState().contains(pyatspi.STATE_BUSY), "busy after the run")
        shown = self.session.wait_for_client_area(lx.result_shown(self.picture, "2"), "b2-through-atspi")
        self.assertEqual(result.description, "A picture the program drew, 149 by 165 pixels; mean brightness "
                         "%d percent." % mean_brightness(shown.crop(lx.PIC_TO)), "what the result box shows")

    def error_report_as_alert(self, window):
        """The error report is an alert that reads the error and its cause, dismissed by
        pressing its button."""
        controls = children(window)
        controls[4].queryEditableText().setTextContents("abc")
        action(controls[1], "Press")
        lx.wait_until(lambda: "alert" in (window_roles(self.application) or []), lx.WAIT_TIMEOUT, "an alert")
        alert = next(w for w in children(self.application) if w.getRoleName() == "alert")
        self.assertEqual(alert.name, lx.ERROR_TITLE)
        texts = [c.name for c in children(alert) if c.getRoleName() == "label"]
        self.assertEqual(len(texts), 1, "one label in the alert: %r" % texts)
        lines = texts[0].split("\n")
        self.assertEqual(lines[0], "Type mismatch")
        self.assertIn('"abc"', lines[1])
        self.assertEqual(len(lines), 2, "the alert's text: %r" % texts[0])
        ok = pyatspi.utils.findDescendant(alert, lambda c: c.getRoleName() == "push button")
        action(ok, "Press")
        lx.wait_until(lambda: window_roles(self.application) == ["frame"],
                      lx.WAIT_TIMEOUT, "the alert gone and the window left")
        self.assertTrue(self.session.alive(), "lumeno ended on the error\n" + self.session.log("lumeno"))

    def keyboard_run_keeps_focus_on_go(self, window):
        """Go pressed with Space: no other control takes the focus during the run, and Go has
        it after."""
        s = self.session
        controls = children(window)
        go, result = controls[1], self.pictures["Result picture"]
        field = controls[4]
        field.queryEditableText().setTextContents("5")
        action(field, "SetFocus")
        # From the field back past the label and the result box.
        s.key("shift+Tab", "shift+Tab")
        self.pump_until(lambda: go.getState().contains(pyatspi.STATE_FOCUSED), "the focus on Go")
        self.events.clear()
        s.key("space")
        self.pump_until(lambda: [e for e in self.events if e.source == result
                                 and e.type == "object:property-change:accessible-description"],
                        "the result box to tell that its picture changed")
        s.wait_for_client_area(lx.result_shown(self.picture, "5"), "b5-from-keyboard")
        self.pump_until(lambda: go.getState().contains(pyatspi.STATE_FOCUSED), "the focus back on Go")
        focused = [e.source.name for e in self.events if e.type == "object:state-changed:focused" and e.detail1]
        self.assertEqual(set(focused), {"Go"}, "controls that took the focus during and after the run")


if __name__ == "__main__":
    unittest.main(argv=lx.parse_command_line(sys.argv), verbosity=2)
