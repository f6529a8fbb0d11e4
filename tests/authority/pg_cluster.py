"""A throw-away PostgreSQL cluster in a temporary folder, listening on a local socket only.

Debian's initdb and pg_ctl (in /usr/lib/postgresql/<version>/bin) refuse to run as root, so
under root the cluster belongs to the postgres user (or nobody) and is run through runuser."""

import glob
import os
import pwd
import shutil
import subprocess
import tempfile


def _server_bin():
    found = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"),
                   key=lambda p: int(p.split("/")[4]) if p.split("/")[4].isdigit() else 0)
    if found:
        return os.path.dirname(found[-1])
    initdb = shutil.which("initdb")
    if initdb:
        return os.path.dirname(initdb)
    raise SystemExit("PostgreSQL is not installed (Debian package postgresql)")


class Cluster:
    def __init__(self, durable=True):
        # A cluster that need not survive a power cut skips the syncs, which the tests, killing
        # clients only, do not rely on.
        self.durable = durable
        self.bin = _server_bin()
        self.folder = tempfile.mkdtemp(prefix="xunbao-pg-")
        self.data = os.path.join(self.folder, "data")
        self.socket = self.folder
        self.user = None
        if os.geteuid() == 0:
            for name in ("postgres", "nobody"):
                try:
                    entry = pwd.getpwnam(name)
                except KeyError:
                    continue
                self.user = name
                os.chown(self.folder, entry.pw_uid, entry.pw_gid)
                break
            if self.user is None:
                raise SystemExit("no user to run PostgreSQL as")

    def _run(self, program, *args):
        command = [os.path.join(self.bin, program), *args]
        if self.user:
            command = ["runuser", "-u", self.user, "--", *command]
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def start(self):
        self._run("initdb", "-D", self.data, "-A", "trust", "-U", "postgres", "-E", "UTF8",
                  "--locale=C.UTF-8")
        options = "-c listen_addresses='' -c unix_socket_directories='%s' -c fsync=%s" % (
            self.socket, "on" if self.durable else "off")
        self._run("pg_ctl", "-D", self.data, "-o", options, "-l",
                  os.path.join(self.folder, "server.log"), "-w", "start")
        return self

    def stop(self):
        try:
            self._run("pg_ctl", "-D", self.data, "-m", "fast", "-w", "stop")
        finally:
            shutil.rmtree(self.folder, ignore_errors=True)

    def cpu_seconds(self):
        """The processor time the cluster's processes have used so far (Linux)."""
        with open(os.path.join(self.data, "postmaster.pid")) as f:
            postmaster = f.readline().strip()
        total = 0
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/stat" % pid) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if pid == postmaster or fields[1] == postmaster:
                # utime, stime, and those of waited-for children
                total += sum(int(n) for n in fields[11:15])
        return total / os.sysconf("SC_CLK_TCK")

    def conninfo(self, database="postgres"):
        return "host=%s user=postgres dbname=%s" % (self.socket, database)

    def psql(self, sql, database="postgres"):
        run = subprocess.run(["psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-d",
                              self.conninfo(database), "-c", sql], capture_output=True)
        if run.returncode != 0:
            raise AssertionError("psql: " + run.stderr.decode("utf-8", "replace"))
        return run.stdout.decode("utf-8")

    def rows(self, query, database="postgres"):
        """The rows of a query, each a list of texts (None for null), through COPY's text form."""
        text = self.psql("COPY (%s) TO STDOUT" % query, database)
        rows = []
        for line in text.split("\n")[:-1]:
            rows.append([None if f == "\\N" else _unescape(f) for f in line.split("\t")])
        return rows


def _unescape(field):
    out, i = [], 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            i += 1
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(field[i], field[i]))
        else:
            out.append(c)
        i += 1
    return "".join(out)
