#!/usr/bin/env python3
"""One mailbox check with Python's standard poplib, as the benchmark's yardstick.

Sends the same commands as the program's first check of a mailbox: USER, PASS,
STAT, UIDL n for every letter from the newest down to 1, QUIT.

    poplib_check.py HOST PORT USER PASSWORD

Prints one line: letters, UIDL commands sent, wall seconds, CPU seconds of this
process, measured from the connect to the end of QUIT (interpreter start-up and
imports not counted).
"""

import poplib
import sys
import time


def main(argv):
    host, port, user, password = argv[1], int(argv[2]), argv[3], argv[4]
    wall_start = time.perf_counter()
    cpu_start = time.process_time()

    session = poplib.POP3(host, port, timeout=30)
    session.user(user)
    session.pass_(password)
    letters, _size = session.stat()
    uidl_sent = 0
    for number in range(letters, 0, -1):
        session.uidl(number)
        uidl_sent += 1
    session.quit()

    wall = time.perf_counter() - wall_start
    cpu = time.process_time() - cpu_start
    print("%d %d %.9f %.9f" % (letters, uidl_sent, wall, cpu))


if __name__ == "__main__":
    main(sys.argv)
