#!/usr/bin/python3
"""The Linux end of a Wine COM port: a new pseudo-terminal whose slave is
linked at LINK, the path the Wine prefix's "Ports" key names. Prints the
slave's path once the link is there, then, by MODE:
  echo  sends back everything it reads;
  mute  holds the line open and never reads, so that a large write waits.
usage: pty_far_end.py echo|mute LINK"""
import os
import pty
import sys
import time
import tty

mode, link = sys.argv[1], sys.argv[2]
master, slave = pty.openpty()
tty.setraw(slave)
if os.path.lexists(link):
    os.remove(link)
os.symlink(os.ttyname(slave), link)
print(os.ttyname(slave), flush=True)
while True:
    if mode == "echo":
        os.write(master, os.read(master, 4096))
    else:
        time.sleep(3600)
