"""The whole road of a conversion, as a user takes it: text onto the clipboard,
Paste, Convert, Copy, and the result read back from the clipboard.
Usage: end_to_end_test.py PATH/TO/vesktext (on an X server, see with-xvfb.sh)"""

import sys
import unittest

from running_program import (CP932_TARGET, RunningProgram, clipboard, put_on_clipboard,
                             wait_until)


def wait_for_copy(pasted):
    """The program's copy: code page 932 bytes other than what was pasted."""
    def copied():
        now = clipboard(CP932_TARGET)
        return now if now is not None and now != pasted else None
    return wait_until(copied, "the program's copy")

PROGRAM = None


class EndToEnd(unittest.TestCase):
    # name, clipboard text and its target, the buttons, expected cp932 bytes
    CASES = [
        ("local bytes to standard",
         bytes.fromhex("B6DE B2 C4DE F541 F056 4142"), CP932_TARGET,
         ("BeforePasteB", "ConvertHtoZB", "AfterCopyB"),
         bytes.fromhex("834B 8343 8368 829F 8795 4142 0D0A")),
        ("two local lines, the last without a break",
         bytes.fromhex("CADF 0D0A B1"), CP932_TARGET,
         ("BeforePasteB", "ConvertHtoZB", "AfterCopyB"),
         bytes.fromhex("8370 0D0A 8341 0D0A")),
        ("UTF-8 standard text to local",
         "パーティー、ヴ愛".encode("utf-8"), "UTF8_STRING",
         ("AfterpasteB", "ConvertZtoHB", "BeforeCopyB"),
         bytes.fromhex("CADF B0 C3 A8 B0 A4 8394 88A4 0D0A")),
        ("standard bytes to local, square root kept as 8795",
         bytes.fromhex("8795 8158 8396"), CP932_TARGET,
         ("AfterpasteB", "ConvertZtoHB", "BeforeCopyB"),
         bytes.fromhex("F056 F159 F866 0D0A")),
    ]

    def test_conversions_through_the_clipboard(self):
        with RunningProgram(PROGRAM) as program:
            for name, text, target, buttons, expected in self.CASES:
                with self.subTest(name):
                    put_on_clipboard(text, target)
                    for button in buttons:
                        program.click(button)
                    copied = wait_for_copy(text)
                    self.assertEqual(copied.hex(" "), expected.hex(" "))

    def test_copy_offers_unicode_text_to_other_programs(self):
        with RunningProgram(PROGRAM) as program:
            put_on_clipboard(bytes.fromhex("B6DE B2 C4DE F541"), CP932_TARGET)
            for button in ("BeforePasteB", "ConvertHtoZB", "AfterCopyB"):
                program.click(button)
            wait_for_copy(bytes.fromhex("B6DE B2 C4DE F541"))
            text = clipboard("UTF8_STRING")
            self.assertEqual(text.decode("utf-8").splitlines(), ["ガイドぁ"])

    def test_about_button_opens_the_about_dialog(self):
        with RunningProgram(PROGRAM) as program:
            self.assertEqual(program.visible_windows(), {program.window})
            program.click("BitBtn1")
            others = wait_until(lambda: program.visible_windows() - {program.window},
                                "the about dialog")
            self.assertEqual(len(others), 1)


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main()
