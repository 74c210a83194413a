"""The real vesktext program on the X server named by DISPLAY: xdotool finds
its window, xclip reaches the clipboard, xprop reads what the window manager
is told."""

import subprocess
import time

CP932_TARGET = "text/plain;charset=windows-31j"

# Left, top, width, height of the controls in the window's client area.
CONTROLS = {
    "BeforeCopyB": (72, 8, 97, 25),
    "BeforePasteB": (328, 8, 97, 25),
    "Beforememo": (72, 40, 353, 129),
    "BitBtn1": (8, 160, 57, 57),
    "ConvertHtoZB": (152, 176, 97, 25),
    "ConvertZtoHB": (256, 176, 97, 25),
    "Aftermemo": (72, 208, 353, 145),
    "AfterCopyB": (72, 360, 97, 25),
    "AfterpasteB": (328, 360, 97, 25),
}


def run(*command, data=None, check=True):
    return subprocess.run(command, input=data, capture_output=True, check=check,
                          timeout=30).stdout


def window_property(window, name):
    """What xprop shows of a window's property after the '=' (all of it)."""
    shown = run("xprop", "-len", "100000000", "-id", window, name).decode()
    return shown.split(" = ", 1)[1].strip() if " = " in shown else None


def wait_until(condition, what, attempts=200):
    """Polls until condition() holds; the program answers X events in its own time."""
    for _ in range(attempts):
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("gave up waiting for " + what)


def wait_until_managed(window):
    """A window is visible before a window manager has framed it and said what
    it allows; with a manager running, wait for that too."""
    if "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False).decode():
        for name in ("_NET_FRAME_EXTENTS", "_NET_WM_ALLOWED_ACTIONS"):
            wait_until(lambda: window_property(window, name), "the window manager's " + name)


class RunningProgram:
    def __init__(self, program, scale=1):
        self.scale = scale
        self.process = subprocess.Popen([program], stderr=subprocess.DEVNULL)
        try:
            # xdotool fails outright when a window it looks at goes away
            # meanwhile (another program's ending), so ask again.
            found = wait_until(lambda: run("xdotool", "search", "--onlyvisible", "--name",
                                           "^Vesktext$", check=False).split(), "the window")
            self.window = found[0].decode()
            wait_until_managed(self.window)
            self.origin, self.size = self.geometry()
        except BaseException:
            self.__exit__()
            raise

    def geometry(self):
        """The window's position on the screen and its size. (xdotool counts a
        window manager's frame twice.)"""
        shown = run("xwininfo", "-id", self.window).decode()
        fields = dict(line.strip().split(": ", 1) for line in shown.splitlines() if ": " in line)
        return ((int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])),
                (int(fields["Width"]), int(fields["Height"])))

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(timeout=10)

    def screenshot(self):
        """The window's pixels as rows of (r, g, b) tuples."""
        ppm = run("import", "-window", self.window, "-depth", "8", "ppm:-")
        return parse_ppm(ppm)


def put_on_clipboard(data, target):
    # xclip keeps serving the selection from the background until replaced. It
    # may return before the server has made it the owner, so wait for that.
    subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-i"], input=data,
                   check=True, timeout=30)
    wait_until(lambda: clipboard(target) == data, "xclip to own the clipboard")


def clipboard(target):
    result = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                            capture_output=True, timeout=30)
    return result.stdout if result.returncode == 0 else None


def parse_ppm(data):
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    assert fields[0] == b"P6" and fields[3] == b"255", "expected an 8-bit binary PPM"
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]
