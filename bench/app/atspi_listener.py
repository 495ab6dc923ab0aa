#!/usr/bin/env python3
"""Stands in for a screen reader's load on an application: listens to the events that a screen
reader listens to and, as one does, reads the name, role and states of each event's source
(--plain: only listens). Prints how many events came when it is stopped (SIGTERM)."""
import signal
import sys

import pyatspi

EVENTS = [
    "focus:",
    "window:activate",
    "window:deactivate",
    "object:children-changed",
    "object:state-changed",
    "object:property-change",
    "object:text-changed",
    "object:text-caret-moved",
    "object:selection-changed",
    "object:active-descendant-changed",
    "object:row-inserted",
    "object:row-deleted",
    "object:row-reordered",
    "object:model-changed",
    "object:visible-data-changed",
]

plain = "--plain" in sys.argv
count = 0


def on_event(event):
    global count
    count += 1
    if plain:
        return
    try:
        source = event.source
        source.name
        source.getRole()
        source.getState()
        source.childCount
    except Exception:  # the source may be gone by now
        pass


def stop(*_):
    print(f"listener: {count} events", file=sys.stderr, flush=True)
    pyatspi.Registry.stop()


signal.signal(signal.SIGTERM, stop)
pyatspi.Registry.registerEventListener(on_event, *EVENTS)
print("listener: ready", file=sys.stderr, flush=True)
pyatspi.Registry.start()
