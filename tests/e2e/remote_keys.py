# Key presses for a headless mutter, whose seat has no keyboard and which
# offers no virtual keyboards to its clients: a remote-desktop session of
# mutter's own (on the session bus) gives the seat a keyboard and presses
# space once at the start, so that the seat shows its keyboard, and then once
# for every line read. Needs python3-gi. The session ends with this program.
import sys

from gi.repository import Gio, GLib

SPACE = 57  # evdev key code

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None):
    return bus.call_sync('org.gnome.Mutter.RemoteDesktop', path, interface, method, args,
                         None, Gio.DBusCallFlags.NONE, 5000, None)


session = call('/org/gnome/Mutter/RemoteDesktop', 'org.gnome.Mutter.RemoteDesktop',
               'CreateSession').unpack()[0]
SESSION = 'org.gnome.Mutter.RemoteDesktop.Session'
call(session, SESSION, 'Start')


def press():
    for down in (True, False):
        call(session, SESSION, 'NotifyKeyboardKeycode', GLib.Variant('(ub)', (SPACE, down)))


press()
print('ready', flush=True)
for _ in sys.stdin:
    press()
    print('pressed', flush=True)
