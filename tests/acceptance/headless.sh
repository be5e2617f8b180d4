#!/bin/sh
# Runs a command on a virtual X server of its own, with a D-Bus session of its own. The
# server number is searched from a random start, so runs side by side (the tests, the
# screenshot script, a screen-reader walk) do not race for the same free number.
exec xvfb-run -a -n "$(shuf -i 100-999 -n 1)" -s "-screen 0 1280x1024x24" \
  dbus-run-session -- "$@"
