#!/usr/bin/env python3
"""A drag source on the X display for the drop tests: a small window at the top left,
titled "Lumeo drag source", whose drag carries the files named as a file manager's drag
does (text/uri-list).

  drag_source.py PATH...

The program ends when the drag ends, or after a minute."""
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

paths = sys.argv[1:]
uris = [GLib.filename_to_uri(path) for path in paths]
window = Gtk.Window(title="Lumeo drag source")
window.move(0, 0)
window.set_default_size(120, 80)
box = Gtk.EventBox()
box.add(Gtk.Label(label="%d files" % len(paths)))
window.add(box)
box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
box.drag_source_add_uri_targets()
box.connect("drag-data-get", lambda widget, context, data, info, time: data.set_uris(uris))
box.connect("drag-end", lambda *args: Gtk.main_quit())
window.connect("destroy", Gtk.main_quit)

window.show_all()
GLib.timeout_add_seconds(60, Gtk.main_quit)
Gtk.main()
