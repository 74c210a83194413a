"""The real program under a window manager, driven as a screen reader user
drives it: every control is found through AT-SPI by its accessible name, never
by its place. Text goes in and out through the clipboard (xclip); what the
window manager is told is read with xprop.
Usage: end_to_end_test.py PATH/TO/vesktext (on an X server with a window
manager and a session bus: with-xvfb.sh --openbox dbus-run-session ...)"""

import os
import sys
import time
import unittest
import warnings

import pyatspi

from running_program import (CP932_TARGET, RunningProgram, clipboard, put_on_clipboard,
                             run, wait_until, wait_until_managed,
                             window_property)

PROGRAM = None

# Accessible names and roles of the main window's controls; screen readers
# must be able to tell each apart.
CONTROLS = {
    "Veskローカル": pyatspi.ROLE_TEXT,
    "標準": pyatspi.ROLE_TEXT,
    "Paste into local text": pyatspi.ROLE_PUSH_BUTTON,
    "Copy local text": pyatspi.ROLE_PUSH_BUTTON,
    "Copy standard text": pyatspi.ROLE_PUSH_BUTTON,
    "Convert local to standard": pyatspi.ROLE_PUSH_BUTTON,
    "Convert standard to local": pyatspi.ROLE_PUSH_BUTTON,
    "Paste into standard text": pyatspi.ROLE_PUSH_BUTTON,
    "About Vesktext": pyatspi.ROLE_PUSH_BUTTON,
}


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "vesktext" and app.childCount:
            return app
    return None


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def control(name, role=pyatspi.ROLE_PUSH_BUTTON):
    found = [node for node in descendants(wait_until(application, "the program on AT-SPI"))
             if node.name == name and node.getRole() == role]
    assert len(found) == 1, f"{len(found)} controls named {name}"
    return found[0]


def press(name):
    action = control(name).queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def wait_for_copy(pasted):
    """The program's copy: code page 932 bytes other than what was pasted."""
    def copied():
        now = clipboard(CP932_TARGET)
        return now if now is not None and now != pasted else None
    return wait_until(copied, "the program's copy")


def dialog_window():
    found = run("xdotool", "search", "--onlyvisible", "--name", "^Copyright$", check=False)
    return found.split()[0].decode() if found else None


class EndToEnd(unittest.TestCase):
    # name, clipboard text and its target, the buttons, expected cp932 bytes
    CASES = [
        ("local bytes to standard",
         bytes.fromhex("B6DE B2 C4DE F541 F056 4142"), CP932_TARGET,
         ("Paste into local text", "Convert local to standard", "Copy standard text"),
         bytes.fromhex("834B 8343 8368 829F 8795 4142 0D0A")),
        ("two local lines, the last without a break",
         bytes.fromhex("CADF 0D0A B1"), CP932_TARGET,
         ("Paste into local text", "Convert local to standard", "Copy standard text"),
         bytes.fromhex("8370 0D0A 8341 0D0A")),
        ("UTF-8 standard text to local",
         "パーティー、ヴ愛".encode("utf-8"), "UTF8_STRING",
         ("Paste into standard text", "Convert standard to local", "Copy local text"),
         bytes.fromhex("CADF B0 C3 A8 B0 A4 8394 88A4 0D0A")),
        ("UTF-8 under a MIME type only",
         "XあY".encode("utf-8"), "text/plain;charset=utf-8",
         ("Paste into standard text", "Convert standard to local", "Copy local text"),
         bytes.fromhex("58 F542 59 0D0A")),
    ]

    def test_conversions_through_the_clipboard(self):
        with RunningProgram(PROGRAM):
            for name, text, target, buttons, expected in self.CASES:
                with self.subTest(name):
                    put_on_clipboard(text, target)
                    for button in buttons:
                        press(button)
                    copied = wait_for_copy(text)
                    self.assertEqual(copied.hex(" "), expected.hex(" "))
            # Other programs get Unicode text too.
            press("Copy standard text")
            wait_until(lambda: clipboard(CP932_TARGET) == bytes.fromhex("58 82A0 59"),
                       "the standard text's copy")
            self.assertEqual(clipboard("UTF8_STRING").decode("utf-8"), "XあY")

    def test_every_control_has_a_name_of_its_own_and_a_description(self):
        with RunningProgram(PROGRAM):
            for name, role in CONTROLS.items():
                with self.subTest(name):
                    self.assertTrue(control(name, role).description)
            self.assertEqual(control("標準", pyatspi.ROLE_TEXT).queryText().getText(0, -1), "\n")

    def test_main_window_as_the_window_manager_sees_it(self):
        with RunningProgram(PROGRAM) as program:
            for name in ("WM_NAME", "_NET_WM_NAME"):
                self.assertEqual(window_property(program.window, name), '"Vesktext"')
            icons = window_property(program.window, "_NET_WM_ICON")
            for size in (32, 48, 64, 128, 256):
                self.assertIn(f"Icon ({size} x {size})", icons)
            actions = window_property(program.window, "_NET_WM_ALLOWED_ACTIONS")
            self.assertIn("_NET_WM_ACTION_MINIMIZE", actions)
            self.assertNotIn("MAXIMIZE", actions)
            # A double click on the title bar maximises where that is allowed.
            top = int(window_property(program.window, "_NET_FRAME_EXTENTS").split(", ")[2])
            run("xdotool", "mousemove", "--sync", str(program.origin[0] + program.size[0] // 2),
                str(program.origin[1] - top // 2), "click", "--repeat", "2", "1")
            time.sleep(0.5)  # room for the window manager to act, were it allowed to
            self.assertEqual(program.geometry(), (program.origin, program.size))
            self.assertNotIn("MAXIMIZED", window_property(program.window, "_NET_WM_STATE") or "")

    def test_about_dialog_title_only_above_and_modal(self):
        with RunningProgram(PROGRAM):
            press("About Vesktext")
            dialog = wait_until(dialog_window, "the about dialog")
            wait_until_managed(dialog)
            for name in ("WM_NAME", "_NET_WM_NAME"):
                self.assertEqual(window_property(dialog, name), '"Copyright"')
            state = window_property(dialog, "_NET_WM_STATE")
            self.assertIn("_NET_WM_STATE_MODAL", state)
            self.assertIn("_NET_WM_STATE_ABOVE", state)
            # Its frame and title bar are its own; the window manager adds none.
            self.assertEqual(window_property(dialog, "_NET_FRAME_EXTENTS"), "0, 0, 0, 0")
            # The window manager's close request ends it as Ok does.
            run("xdotool", "key", "--clearmodifiers", "alt+F4")
            wait_until(lambda: dialog_window() is None, "the dialog to close")
            press("About Vesktext")
            wait_until(dialog_window, "the about dialog again")
            press("Ok")
            wait_until(lambda: dialog_window() is None, "the dialog to close with Ok")


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    # pyatspi calls parts of Atspi that are deprecated but still work.
    warnings.simplefilter("ignore", DeprecationWarning)
    unittest.main()
