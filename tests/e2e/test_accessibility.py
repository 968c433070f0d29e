"""lumeno as a screen reader sees it: through the AT-SPI accessibility bus on X11, through
Chromium's accessibility tree in the browser.

On X11 it runs in a D-Bus session of its own, where the session bus starts the accessibility bus:
  dbus-run-session -- /usr/bin/python3 test_accessibility.py --lumeno EXE --close-window EXE \
      --picture resources/picture.bmp [--screenshots DIR]
In the browser: test_accessibility.py --platform web --browser chromium --lumeno SITE/lumeno.js ...

lumeno runs in the harness's session of the platform. Everything is done through the
accessibility tree, as assistive technology does it, except reading the result's pixels from a
screenshot and, in the desktop's last steps, real keys.
"""

import collections
import os
import sys
import unittest

import harness as lx

# A window or a control as a screen reader presents it; handle is the platform's own.
Node = collections.namedtuple("Node", "role name description handle")


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


def sample_busy(tree, window, field, finished):
    """Asks over and over, without a pause, whether the window is busy and the pointer over
    the field too, until finished() is true; returns the answers as (busy, pointer busy).
    lumeno answers between the rows it draws, so it is asked during the run too. The pointer
    first: busy then, it is busy still when the window is asked."""
    seen = []

    def sampled():
        pointer = tree.pointer_busy(field)
        seen.append((tree.busy(window), pointer))
        return finished()

    tree.pump_until(sampled, "the result box to tell that its picture changed", interval=0)
    return seen


def action(accessible, name):
    """Does the accessible's action of that name (such as "Press")."""
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        raise AssertionError("%s %r has no action %r, only %r" % (accessible.getRoleName(), accessible.name,
                                                                  name, names))
    actions.doAction(names.index(name))


class AtspiTree:
    """lumeno on the AT-SPI bus, through Qt's bridge."""

    EVENTS = ("object:property-change:accessible-description", "object:state-changed:focused")

    def __init__(self):
        # Only here: the browser's test runs without an accessibility bus.
        global pyatspi, GLib
        import pyatspi
        from gi.repository import GLib

        # Qt's bridge to the accessibility bus, without a desktop that asks for it.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.events = []

    def open(self, session, test):
        desktop = pyatspi.Registry.getDesktop(0)
        self.application = lx.wait_until(
            lambda: next((a for a in children(desktop) if a is not None and a.name == "lumeno" and a.childCount),
                         None),
            lx.START_TIMEOUT, "lumeno on the accessibility bus")
        pyatspi.Registry.registerEventListener(self.events.append, *self.EVENTS)
        test.addCleanup(pyatspi.Registry.deregisterEventListener, self.events.append, *self.EVENTS)

    @staticmethod
    def node(accessible):
        return Node(accessible.getRoleName(), accessible.name, accessible.description, accessible)

    def windows(self):
        return [self.node(w) for w in children(self.application)]

    def controls(self, window):
        return [self.node(c) for c in children(window.handle)]

    def labelled_by(self, field):
        relations = [r for r in field.handle.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        return [r.getTarget(i) for r in relations for i in range(r.getNTargets())]

    def busy(self, window):
        return window.handle.getState().contains(pyatspi.STATE_BUSY)

    def pointer_busy(self, field):
        return None  # the bus has no pointer shapes: the Wayland cases see it on screen

    def busy_during(self, window, field, press, finished):
        press()
        return sample_busy(self, window, field, finished)

    def set_text(self, field, text):
        field.handle.queryEditableText().setTextContents(text)

    def text(self, field):
        return field.handle.queryText().getText(0, -1)

    def press(self, button):
        action(button.handle, "Press")

    def pump_until(self, condition, what, timeout=lx.WAIT_TIMEOUT, interval=0.01):
        """Delivers accessibility events until condition() is true; returns its value."""
        context = GLib.MainContext.default()

        def delivered():
            while context.iteration(False):
                pass
            return condition()

        return lx.wait_until(delivered, timeout, what, interval)

    def described(self, picture):
        """Events since the last call that said the picture's description changed."""
        found = [e for e in self.events
                 if e.type == "object:property-change:accessible-description" and e.source == picture.handle]
        self.events.clear()
        return found


# Records [busy, pointer busy over the field] in the page whenever the window's aria-busy or
# classes change: at the first pause of the run, as its first rows are shown, and at its end.
BUSY_RECORDER = """(() => {
  const form = document.querySelector('section.form'), field = form.querySelector('input');
  window.busyRecorded = [];
  new MutationObserver(() => busyRecorded.push([form.getAttribute('aria-busy') === 'true',
    getComputedStyle(field).cursor === 'wait'])).observe(form, {attributes: true, attributeFilter: ['aria-busy', 'class']});
})()"""


class ChromiumTree:
    """The page in Chromium's accessibility tree, which the browser gives a screen reader,
    with the roles under the names AT-SPI gives them; a handle is a DOM node's id there."""

    ROLES = {"region": "frame", "image": "image", "button": "push button", "LabelText": "label",
             "textbox": "text", "status": "notification"}

    def open(self, session, test):
        self.session = session
        self.descriptions = {}
        # The tree is read between the frames of a run, which at full speed lasts about a
        # tenth of a second: with a slower processor it is read a few times during a run.
        session.call("slow_down", 20)

    def nodes(self):
        """The tree's nodes that lumeno made, each as (Node, the tree's node, the Nodes inside
        it), in the page's order. A node without a name of its own is named by its text, as a
        screen reader reads a label or a live region."""
        tree = self.session.call("accessibility")
        by_id = {n["nodeId"]: n for n in tree}
        found = []

        def visit(node, inside):
            role = None if node.get("ignored") else node.get("role", {}).get("value")
            if role == "StaticText" and inside:
                inside[-1][3].append(node["name"]["value"])
            if role in self.ROLES:
                entry = (role, node, [], [])
                found.append(entry)
                for outer in inside:
                    outer[2].append(entry)
                inside = inside + [entry]
            for child in node.get("childIds", []):
                visit(by_id[child], inside)

        def named(entry):
            role, node, _, text = entry
            return Node(self.ROLES[role], node.get("name", {}).get("value") or "".join(text),
                        node.get("description", {}).get("value", ""), node.get("backendDOMNodeId"))

        visit(tree[0], [])
        return [(named(e), e[1], [named(i) for i in e[2]]) for e in found]

    def entry(self, node):
        return next(e for e in self.nodes() if e[0].handle == node.handle)

    def windows(self):
        return [n for n, _, _ in self.nodes() if n.role == "frame"]

    def controls(self, window):
        return self.entry(window)[2]

    def labelled_by(self, field):
        """The label the field's name comes from."""
        sources = self.entry(field)[1]["name"].get("sources", [])
        return [r["backendDOMNodeId"] for s in sources if "value" in s and not s.get("superseded")
                for r in s.get("nativeSourceValue", {}).get("relatedNodes", [])]

    def busy(self, window):
        properties = self.session.call("accessible", window.handle).get("properties", [])
        return any(p["name"] == "busy" and p["value"]["value"] for p in properties)

    def pointer_busy(self, field):
        return self.session.call("evaluate", "getComputedStyle(document.querySelector('section.form input'))"
                                             ".cursor") == "wait"

    def busy_during(self, window, field, press, finished):
        """Besides the tree's answers, what the page showed each time the window's busy state
        or pointer changed, recorded in the page: a run that ends before the tree is read is
        seen all the same."""
        self.session.call("evaluate", BUSY_RECORDER)
        press()
        return sample_busy(self, window, field, finished) + self.session.call("evaluate", "busyRecorded")

    def set_text(self, field, text):
        self.session.call("fill", "textbox", field.name, text)

    def text(self, field):
        return self.entry(field)[1].get("value", {}).get("value", "")

    def press(self, button):
        self.session.call("press", "button", button.name)

    def pump_until(self, condition, what, timeout=lx.WAIT_TIMEOUT, interval=0.01):
        return lx.wait_until(condition, timeout, what, interval)

    def described(self, picture):
        """Whether the picture's description changed since the last call."""
        now = self.session.call("accessible", picture.handle).get("description", {}).get("value")
        changed = self.descriptions.get(picture.name, now) != now
        self.descriptions[picture.name] = now
        return changed


class AccessibilityTest(unittest.TestCase):
    def setUp(self):
        self.tree = ChromiumTree() if lx.config.platform == "web" else AtspiTree()
        self.picture = lx.read_bmp(lx.config.picture)
        self.session = lx.new_session("accessibility")
        self.addCleanup(self.session.close)
        self.session.start()
        self.tree.open(self.session, self)

    def test_screen_reader(self):
        window = self.check_tree()
        self.run_pressed(window)
        if isinstance(self.tree, AtspiTree):  # the desktop's message box and keyboard
            self.error_report_as_alert(window.handle)
            self.keyboard_run_keeps_focus_on_go(window.handle)

    def check_tree(self):
        """Roles, names and the label's relation, as a screen reader presents them."""
        windows = self.tree.windows()
        self.assertEqual([(w.role, w.name) for w in windows], [("frame", lx.MAIN_TITLE)], "the application's windows")
        window = windows[0]
        controls = self.tree.controls(window)
        self.assertEqual([(c.role, c.name) for c in controls], [
            ("image", "Source picture"),
            ("push button", "Go"),
            ("image", "Result picture"),
            ("label", "parameter value?"),
            ("text", "parameter value?"),
            ("push button", "Quit"),
            ("push button", "Restart"),
            ("notification", ""),
        ], "the window's controls in tab order, then where it announces what is not about the focus")
        self.pictures = {c.name: c for c in controls if c.role == "image"}
        shown = mean_brightness(lx.shown_part(self.picture))
        for picture in self.pictures.values():
            self.assertEqual(picture.description, "The program's picture of 180 by 200 pixels, shown from its "
                             "top-left corner in a box of 149 by 165 pixels; mean brightness %d percent." % shown,
                             "what %s shows" % picture.name)
        label, field = controls[3], controls[4]
        self.assertEqual(self.tree.labelled_by(field), [label.handle], "the field is labelled by the label")
        self.assertFalse(self.tree.busy(window), "busy before a run")
        return window

    def run_pressed(self, window):
        """The parameter set and Go pressed through the tree: the window is busy while the run
        draws, the result box tells that its picture changed, the end is announced with what
        it shows, and the result is exact."""
        controls = self.tree.controls(window)
        go, field, result = controls[1], controls[4], self.pictures["Result picture"]
        self.tree.described(result)
        self.tree.set_text(field, "2")
        self.assertEqual(self.tree.text(field), "2")
        # During the run the window says that it is busy, and shows the busy pointer over the
        # field too where the pointer can be read.
        seen = self.tree.busy_during(window, field, lambda: self.tree.press(go), lambda: self.tree.described(result))
        self.assertIn(True, [busy for busy, _ in seen], "the window reported busy in one of %d answers during "
                      "the run" % len(seen))
        self.assertNotIn(False, [pointer for busy, pointer in seen if busy], "the busy pointer over the field")
        self.assertFalse(self.tree.busy(window), "busy after the run")
        shown = self.session.wait_for_client_area(lx.result_shown(self.picture, "2"), "b2-through-the-tree")
        described = "A picture the program drew, 149 by 165 pixels; mean brightness %d percent." % mean_brightness(
            shown.crop(lx.PIC_TO))
        announced = "The result is drawn. " + described
        self.tree.pump_until(lambda: self.tree.controls(window)[-1].name == announced, "the announcement %r" % announced)
        self.assertEqual(self.tree.controls(window)[2].description, described, "what the result box shows")

    def error_report_as_alert(self, window):
        """The error report is an alert that reads the error and its cause, dismissed by
        pressing its button."""
        controls = children(window)
        controls[4].queryEditableText().setTextContents("abc")
        action(controls[1], "Press")
        lx.wait_until(lambda: "alert" in (window_roles(self.tree.application) or []), lx.WAIT_TIMEOUT, "an alert")
        alert = next(w for w in children(self.tree.application) if w.getRoleName() == "alert")
        self.assertEqual(alert.name, lx.ERROR_TITLE)
        texts = [c.name for c in children(alert) if c.getRoleName() == "label"]
        self.assertEqual(len(texts), 1, "one label in the alert: %r" % texts)
        lines = texts[0].split("\n")
        self.assertEqual(lines[0], "Type mismatch")
        self.assertIn('"abc"', lines[1])
        self.assertEqual(len(lines), 2, "the alert's text: %r" % texts[0])
        ok = pyatspi.utils.findDescendant(alert, lambda c: c.getRoleName() == "push button")
        action(ok, "Press")
        lx.wait_until(lambda: window_roles(self.tree.application) == ["frame"],
                      lx.WAIT_TIMEOUT, "the alert gone and the window left")
        self.assertTrue(self.session.alive(), "lumeno ended on the error\n" + self.session.log("lumeno"))

    def keyboard_run_keeps_focus_on_go(self, window):
        """Go pressed with Space: no other control takes the focus during the run, and Go has
        it after."""
        s = self.session
        controls = children(window)
        go, result = controls[1], self.pictures["Result picture"].handle
        field = controls[4]
        field.queryEditableText().setTextContents("5")
        action(field, "SetFocus")
        # From the field back past the label and the result box.
        s.key("shift+Tab", "shift+Tab")
        self.tree.pump_until(lambda: go.getState().contains(pyatspi.STATE_FOCUSED), "the focus on Go")
        self.tree.events.clear()
        s.key("space")
        self.tree.pump_until(lambda: [e for e in self.tree.events if e.source == result
                                 and e.type == "object:property-change:accessible-description"],
                        "the result box to tell that its picture changed")
        s.wait_for_client_area(lx.result_shown(self.picture, "5"), "b5-from-keyboard")
        self.tree.pump_until(lambda: go.getState().contains(pyatspi.STATE_FOCUSED), "the focus back on Go")
        focused = [e.source.name for e in self.tree.events if e.type == "object:state-changed:focused" and e.detail1]
        self.assertEqual(set(focused), {"Go"}, "controls that took the focus during and after the run")


if __name__ == "__main__":
    unittest.main(argv=lx.parse_command_line(sys.argv), verbosity=2)
