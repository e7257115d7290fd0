#!/usr/bin/env python3
"""Runs a private Dovecot POP3 server on 127.0.0.1 for tests and benchmarks.

    dovecot_fixture.py start DIR            writes DIR/dovecot.conf, starts the server,
                                            waits for its greeting, prints the port
    dovecot_fixture.py add-user DIR USER PASSWORD
                                            adds a user with a plain-text password and an
                                            empty Maildir, prints the Maildir's path
    dovecot_fixture.py stop DIR             stops the server started in DIR

DIR is an existing folder that the server may fill (run/, state/, home/, the log).
Everything stays inside it: nothing touches the system's own Dovecot set-up.
Run as root, the mailboxes belong to "nobody" (Dovecot refuses root-owned mail);
run as another user, everything runs as that user.
"""

import grp
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import time

HOST = "127.0.0.1"
START_ATTEMPTS = 5        # a new port each time another program took the chosen one
READY_TIMEOUT_S = 15.0
STOP_TIMEOUT_S = 30.0
POLL_S = 0.02


def fail(message):
    sys.stderr.write("dovecot_fixture: %s\n" % message)
    sys.exit(1)


def dovecot_binary():
    found = shutil.which("dovecot") or shutil.which("dovecot", path="/usr/sbin:/sbin")
    if not found:
        fail("the dovecot program is not installed (Debian packages dovecot-core, dovecot-pop3d)")
    return found


def mail_owner():
    """The account that owns the mailboxes and runs the mail processes."""
    if os.geteuid() == 0:
        return pwd.getpwnam("nobody")
    return pwd.getpwuid(os.geteuid())


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind((HOST, 0))
        return probe.getsockname()[1]


def config_text(folder, port):
    lines = [
        "base_dir = %s/run" % folder,
        "state_dir = %s/state" % folder,
        "log_path = %s/dovecot.log" % folder,
        "protocols = pop3",
        "listen = %s" % HOST,
        "ssl = no",
        "disable_plaintext_auth = no",
        "auth_mechanisms = plain",
        # A refused password is answered at once instead of after two seconds.
        "auth_failure_delay = 0",
        "mail_location = maildir:~/Maildir",
        "first_valid_uid = 1",
        # One passwd file per user: the auth process looks at a file it knows at
        # most once a second, so a user added to a shared file could stay unknown.
        "passdb {",
        "  driver = passwd-file",
        "  args = %s/users/%%u" % folder,
        "}",
        "userdb {",
        "  driver = passwd-file",
        "  args = %s/users/%%u" % folder,
        "}",
        "service pop3-login {",
        "  inet_listener pop3 {",
        "    address = %s" % HOST,
        "    port = %d" % port,
        "  }",
        "  inet_listener pop3s {",
        "    port = 0",
        "  }",
        "}",
    ]
    if os.geteuid() != 0:
        # Without root there is no user switch and no chroot.
        me = mail_owner()
        group = grp.getgrgid(me.pw_gid).gr_name
        lines += [
            "default_login_user = %s" % me.pw_name,
            "default_internal_user = %s" % me.pw_name,
            "default_internal_group = %s" % group,
            "service anvil {\n  chroot =\n}",
            "service pop3-login {\n  chroot =\n}",
        ]
    return "\n".join(lines) + "\n"


def greeting_from(port):
    """The server's first line, or None while nobody answers on the port."""
    try:
        with socket.create_connection((HOST, port), timeout=2.0) as peer:
            return peer.makefile("rb").readline()
    except OSError:
        return None


def wait_ready(folder, port):
    """Waits for the greeting; False when the master ended or the time ran out."""
    deadline = time.monotonic() + READY_TIMEOUT_S
    while time.monotonic() < deadline:
        line = greeting_from(port)
        if line and line.startswith(b"+OK"):
            return True
        # The master writes its pid file after it went to the background.
        pid = master_pid(folder)
        if pid is not None and not alive(pid):
            return False
        time.sleep(POLL_S)
    return False


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    # A dead child of ours that nobody reaped yet still answers kill(0).
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def master_pid(folder):
    try:
        with open(os.path.join(folder, "run", "master.pid")) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def log_tail(folder):
    try:
        with open(os.path.join(folder, "dovecot.log"), errors="replace") as f:
            return "".join(f.readlines()[-20:])
    except OSError:
        return "(no log)\n"


def start(folder):
    folder = os.path.abspath(folder)
    # The mail processes run as the mail owner and must reach the passwd file and the homes.
    os.chmod(folder, 0o755)
    for sub in ("run", "state", "home", "users"):
        os.makedirs(os.path.join(folder, sub), mode=0o755, exist_ok=True)
    config = os.path.join(folder, "dovecot.conf")
    pid_file = os.path.join(folder, "run", "master.pid")
    binary = dovecot_binary()

    for _ in range(START_ATTEMPTS):
        port = free_port()
        with open(config, "w") as f:
            f.write(config_text(folder, port))
        if os.path.exists(pid_file):
            os.remove(pid_file)
        # The master puts itself in the background; its output goes to a file so that
        # no pipe of our caller stays open in the daemon.
        with open(os.path.join(folder, "start.out"), "w") as out:
            started = subprocess.run([binary, "-c", config], stdin=subprocess.DEVNULL,
                                     stdout=out, stderr=subprocess.STDOUT)
        if started.returncode == 0 and wait_ready(folder, port):
            print(port)
            return
        stop(folder)
        with open(os.path.join(folder, "start.out")) as f:
            output = f.read()
        if "Address already in use" not in output + log_tail(folder):
            fail("dovecot did not start:\n%s%s" % (output, log_tail(folder)))
    fail("no free port found after %d attempts" % START_ATTEMPTS)


def add_user(folder, user, password):
    folder = os.path.abspath(folder)
    if any(c in user + password for c in ":\n") or not user or "/" in user:
        fail("user names and passwords here may not hold ':', '/' or line ends")
    owner = mail_owner()
    home = os.path.join(folder, "home", user)
    maildir = os.path.join(home, "Maildir")
    for path in (home, maildir) + tuple(os.path.join(maildir, s) for s in ("cur", "new", "tmp")):
        os.makedirs(path, mode=0o700, exist_ok=True)
        os.chown(path, owner.pw_uid, owner.pw_gid)
    entry = os.path.join(folder, "users", user)
    with open(entry + ".new", "w") as f:
        f.write("%s:{PLAIN}%s:%d:%d::%s\n" % (user, password, owner.pw_uid, owner.pw_gid, home))
    os.chmod(entry + ".new", 0o644)
    os.rename(entry + ".new", entry)
    print(maildir)


def stop(folder):
    folder = os.path.abspath(folder)
    pid = master_pid(folder)
    if pid is None or not alive(pid):
        return
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + STOP_TIMEOUT_S
    while alive(pid):
        if time.monotonic() > deadline:
            os.kill(pid, signal.SIGKILL)
            fail("dovecot (pid %d) did not stop within %d s; killed" % (pid, STOP_TIMEOUT_S))
        time.sleep(POLL_S)


def main(argv):
    commands = {"start": (start, 1), "add-user": (add_user, 3), "stop": (stop, 1)}
    if len(argv) < 2 or argv[1] not in commands or len(argv) - 2 != commands[argv[1]][1]:
        fail("usage: start DIR | add-user DIR USER PASSWORD | stop DIR")
    command, _ = commands[argv[1]]
    command(*argv[2:])


if __name__ == "__main__":
    main(sys.argv)
