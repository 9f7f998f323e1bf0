#!/usr/bin/python3
# The desktop program on a desktop of its own (see TDesktop), run under a private session bus: an arrival while
# another window is in front is told as a notification, one while Kestrin is in front is not, nor any with
# Notify=0; activating the notification brings the window forward. The tray: Debian's trayer as the X11 tray (the
# unread count in the icon's tooltip is checked by the window's own tests). Needs root.
import os, pathlib, re, signal, sys
from harness import Main, TDesktop, TLanTest

# What a window manager sends when the close box is clicked (there is none here): WM_DELETE_WINDOW. argv: the window.
CLOSE = r"""
import sys
from Xlib import X, display, protocol
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
window.send_event(protocol.event.ClientMessage(window=window, client_type=d.intern_atom("WM_PROTOCOLS"), data=(
    32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
d.flush()
"""


class TDesktopTest(TLanTest):
    def setUp(self):
        self.Config = pathlib.Path(os.environ["XDG_CONFIG_HOME"], "Olvanta", "Kestrin.conf")
        self.Desktop = TDesktop(self.Lan, "WS01")
        self.Lan.Start("WS01", "xmessage", "-geometry", "300x200+150+100", "another program, over Kestrin")
        self.Other = self.Desktop.Window("xmessage")

    def Launch(self, settings, *options):
        self.Config.parent.mkdir(exist_ok=True)
        self.Config.write_text(settings)
        app = self.Lan.Start("WS01", "/usr/bin/env", "QT_QPA_PLATFORM=xcb", self.App, *options)
        app.WaitFor(lambda me: me.Bound(), "its mailbox")
        return app

    def StartApp(self, settings):
        app = self.Launch(settings)
        window = self.Desktop.Window("Kestrin v1.0")
        self.Desktop.Focus(self.Other)  # what the user works in; with no window manager Kestrin never takes it
        return app, window

    def Send(self, text):
        self.assertEqual(self.Run("WS02", "send", "--to", "WS01", stdin=text), (0, "", ""))

    def Ended(self, app):
        """The programs of every notification asked for, once the app has ended normally after all it was sent."""
        listener = self.Start("WS02", "listen", "--json")
        listener.WaitUsers(["WS01"])  # answered after it had shown what came before
        app.Process.send_signal(signal.SIGTERM)
        self.assertEqual((app.WaitExit(), listener.WaitExit(kill=True)), (0, -signal.SIGKILL))
        service = "org.freedesktop.Notifications"  # then a notification of the test's own, after all Kestrin sent
        self.Desktop.Run("gdbus", "call", "-e", "-d", service, "-o", "/" + service.replace(".", "/"), "-m",
                         service + ".Notify", "marker", "0", "", "", "", "[]", "{}", "--", "-1")
        self.Desktop.Bus.WaitFor(lambda _: "marker" in [call[0] for call in self.Desktop.Notified()], "the marker")
        return [call[0] for call in self.Desktop.Notified()]

    def test_an_arrival_behind_another_window_is_notified_and_the_notification_brings_the_window_forward(self):
        app, window = self.StartApp("[General]\nPopUp=0\n")  # PopUp would raise it, but not give it the keyboard
        self.Send(b"Lunch? <b>&</b>\n2\n3\n4\n5\n6\n")
        app.WaitFor(lambda _: self.Desktop.Notified(), "a notification")
        self.Lan.SendAsWindows("WS03", b"LINE_MSG\r\n12:00:00\r\nWS03\r\nback at 2\r\n")
        app.WaitFor(lambda _: len(self.Desktop.Notified()) == 2, "the second notification")
        (_, replaced, *first), (_, replaces, *second) = self.Desktop.Notified()
        self.assertEqual((first, second), (["Kestrin: memo from WS02", "Lunch? &lt;b&gt;&amp;&lt;/b&gt;\n2\n3\n4\n5\u2026",
                                            "im.received"], ["Kestrin: memo from WS03", "back at 2", "im.received"]))
        # The second replaced the first.
        self.assertEqual((replaced, replaces != "0", self.Desktop.Run("dunstctl", "count", "displayed")), ("0", True, "1"))
        self.assertFalse(self.Desktop.InFront(window, self.Other))
        # On its way to the notification the pointer crosses Kestrin where the other window leaves it free: with no
        # window manager the X server takes a focus request only if it is newer than the last focus change, and Qt
        # asks at the time of its last event.
        self.Desktop.Run("xdotool", "mousemove", "600", "380")
        self.Desktop.Run("dunstctl", "action", "0")
        app.WaitFor(lambda _: self.Desktop.InFront(window, self.Other), "the window in front")
        self.Send(b"seen in front\n")
        self.assertEqual(self.Ended(app), ["Kestrin", "Kestrin", "marker"])

    def test_options_are_stored_and_nothing_is_notified_with_notify_0(self):
        # Without a bus nothing fails either: the window tests show their arrivals with none. Options, by keyboard:
        # Alt+O, then Tab to "PopUp on Message", Space, Tab to Ok, Space; the settings file is written at once.
        app, window = self.StartApp("[General]\nNotify=0\nPopUp=0\n")
        self.Desktop.Focus(window)
        self.Desktop.Run("xdotool", "key", "alt+o")
        self.Desktop.Focus(self.Desktop.Window("Options"))
        self.Desktop.Run("xdotool", "key", "Tab", "space", "Tab", "space")
        app.WaitFor(lambda _: "PopUp=1" in self.Config.read_text(), "PopUp=1 in the settings file")
        self.Desktop.Focus(self.Other)
        self.Send(b"unseen\n")
        self.assertNotIn("Kestrin", self.Ended(app))

    def Shown(self, *search):
        """The windows on the screen that xdotool finds so."""
        return self.Desktop.Run("xdotool", "search", "--onlyvisible", *search).split()

    def Click(self, window, button):
        self.Desktop.Run("xdotool", "mousemove", "--window", str(window), "5", "5", "click", str(button))

    def test_with_close_to_tray_the_window_lives_in_the_tray_until_exit(self):
        # --minimized starts it in the tray only; a click on the icon brings the window forward, the close box hides
        # it in the tray again, and the tray menu's Exit ends the program, with one goodbye.
        sniffer = self.Lan.Sniff("WS02")
        self.Lan.Start("WS01", "trayer", "--edge", "bottom", "--widthtype", "pixel", "--width", "100")
        panel = self.Desktop.Window("panel")
        app = self.Launch("[General]\nCloseToTray=1\nPopUp=0\n", "--minimized")
        icon = lambda: re.findall(r'^\s+(0x[0-9a-f]+) "Kestrin": \("kestrin"', self.Desktop.Run(
            "xwininfo", "-tree", "-id", str(panel)), re.M)  # embedded in the tray's panel
        app.WaitFor(lambda _: icon(), "the icon in the tray")
        self.assertEqual(self.Shown("--name", "^Kestrin v1.0$"), [])
        self.Click(int(icon()[0], 16), 1)
        window = self.Desktop.Window("Kestrin v1.0")
        app.WaitFor(lambda _: self.Desktop.InFront(window, self.Other), "the window in front")
        self.Desktop.Run("/usr/bin/python3", "-c", CLOSE, str(window))
        app.WaitFor(lambda _: not self.Shown("--name", "^Kestrin v1.0$"), "the window hidden")
        self.Send(b"still here?\n")  # taken: the program runs on
        self.Click(int(icon()[0], 16), 3)
        app.WaitFor(lambda _: len(self.Shown("--class", "kestrin")) == 2, "the tray's menu")  # the icon and the menu
        self.Desktop.Run("xdotool", "key", "e")
        self.assertEqual(app.WaitExit(), 0)
        sniffer.WaitFor(lambda me: self.Goodbyes(me) == 1, "the goodbye")

    def Goodbyes(self, sniffer):
        return sum("OFFLINE_NOTIFY" in e["text"] for e in sniffer.Events())

    def test_every_way_out_says_goodbye_once_whatever_is_open(self):
        # The start-up box over the window that announced itself (a folder where the settings file goes), then
        # the session's end; and the display going away under a running copy, which Qt answers with exit(1).
        sniffer = self.Lan.Sniff("WS02")
        folder = self.Config
        folder.unlink(missing_ok=True)
        folder.mkdir(parents=True)
        app = self.Lan.Start("WS01", "/usr/bin/env", "QT_QPA_PLATFORM=xcb", self.App)
        self.Desktop.Window("Kestrin")  # the box "Error in TfrmMain.LoadAll"
        sniffer.WaitFor(lambda me: any("ONLINE_NOTIFY" in e["text"] for e in me.Events()), "the announcement")
        app.Process.send_signal(signal.SIGTERM)
        self.assertEqual(app.WaitExit(), 0)
        sniffer.WaitFor(lambda me: self.Goodbyes(me) == 1, "the goodbye")
        folder.rmdir()
        app, _ = self.StartApp("[General]\nNotify=0\n")
        self.Desktop.Xvfb.Process.kill()
        self.assertEqual(app.WaitExit(), 1)
        sniffer.WaitFor(lambda me: self.Goodbyes(me) == 2, "the second goodbye")


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02", "WS03"]))
