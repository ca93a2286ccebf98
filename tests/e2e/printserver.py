"""A private CUPS print server with a cups-pdf queue as its default printer.

The daemon gets its own configuration, spool, state and log directories and
a unix socket in a temporary directory; a program sees it through
CUPS_SERVER (client_env()). Its one queue prints with the cups-pdf backend,
which writes each job as a PDF into a directory per user that its own
configuration names (one such directory on the machine: tests that print
this way must not run at the same time).

    with PrintServer() as server:
        subprocess.run([...], env=server.client_env(os.environ))
        server.wait_until_idle(90)
        pdf = server.take_pdf(os.path.join(out, "printed.pdf"))

The cups-pdf backend runs only under a print server started by root.
"""

import os
import pwd
import re
import shutil
import subprocess
import tempfile

from harness import Failure, Unavailable, die_with_parent, run, stop_child, wait_for

CUPSD = "/usr/sbin/cupsd"
CUPS_PDF_BACKEND = "/usr/lib/cups/backend/cups-pdf"
CUPS_PDF_CONF = "/etc/cups/cups-pdf.conf"
TOOLS = (CUPSD, "lpadmin", "lpinfo", "lpstat")


def check_prerequisites():
    """Raises Failure with what is missing for a private print server."""
    for tool in TOOLS:
        if not shutil.which(tool):
            raise Failure("%s is not installed" % tool)
    if os.geteuid() != 0:
        raise Unavailable("needs root: the cups-pdf backend runs only as root under a "
                          "print server started by root")
    if not os.path.exists(CUPS_PDF_BACKEND):
        raise Failure("the cups-pdf backend is not installed")


def cups_pdf_output_dir(user):
    """The backend's output directory for jobs of `user`, as its
    configuration says (the backend reads it from a fixed place)."""
    out = "/var/spool/cups-pdf/${USER}"  # the backend's built-in default
    try:
        with open(CUPS_PDF_CONF) as f:
            for line in f:
                m = re.match(r"\s*Out\s+(\S+)", line)
                if m:
                    out = m.group(1)
    except OSError:
        pass
    entry = pwd.getpwnam(user)
    return out.replace("${HOME}", entry.pw_dir).replace("${USER}", user)


def pdf_snapshot(directory):
    found = {}
    if os.path.isdir(directory):
        for name in os.listdir(directory):
            path = os.path.join(directory, name)
            if name.lower().endswith(".pdf") and os.path.isfile(path):
                st = os.stat(path)
                found[path] = (st.st_mtime_ns, st.st_size)
    return found


class PrintServer:
    def __init__(self, queue="ventbox-e2e", log_dir=None):
        """`log_dir`: where the daemon's logs are copied when the server
        stops after a failure."""
        self.queue = queue
        self.log_dir = log_dir
        self.tmp = None
        self.cupsd = None
        self.socket = None
        self.env = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, exc_type, *_):
        self.stop(keep_logs=exc_type is not None)
        return False

    # -- life --

    def start(self):
        check_prerequisites()
        self.tmp = tempfile.mkdtemp(prefix="ventbox-cups-")
        os.chmod(self.tmp, 0o755)
        self.socket = self._write_config()
        self.env = self.client_env(os.environ)

        log = open(os.path.join(self.tmp, "log", "cupsd.out"), "w")
        try:
            self.cupsd = subprocess.Popen(
                [CUPSD, "-f", "-c", os.path.join(self.tmp, "cupsd.conf"),
                 "-s", os.path.join(self.tmp, "cups-files.conf")],
                stdout=log, stderr=subprocess.STDOUT, env=self.env,
                preexec_fn=die_with_parent)
        finally:
            log.close()

        def scheduler_running():
            if self.cupsd.poll() is not None:
                raise Failure("cupsd ended at once:\n" + self.error_log_tail())
            return (os.path.exists(self.socket)
                    and self.lp(["lpstat", "-r"], check=False).returncode == 0)
        wait_for(scheduler_running, 30, "the print server to start", interval=0.2)

        model = self._cups_pdf_model()
        self.lp(["lpadmin", "-p", self.queue, "-E", "-v", "cups-pdf:/", "-m", model])
        self.lp(["lpadmin", "-d", self.queue])
        default = self.lp(["lpstat", "-d"]).stdout
        if self.queue not in default:
            raise Failure("the queue is not the default: " + default)

        self.user = pwd.getpwuid(os.getuid()).pw_name
        self.pdf_dir = cups_pdf_output_dir(self.user)
        self._pdf_dir_existed = os.path.isdir(self.pdf_dir)
        self._before = pdf_snapshot(self.pdf_dir)
        print("print server at %s; cups-pdf writes jobs of %s to %s"
              % (self.socket, self.user, self.pdf_dir))

    def stop(self, keep_logs=False):
        stop_child(self.cupsd)
        self.cupsd = None
        if self.tmp is None:
            return
        logs = os.path.join(self.tmp, "log")
        if keep_logs and self.log_dir and os.path.isdir(logs):
            shutil.copytree(logs, os.path.join(self.log_dir, "cups-log"), dirs_exist_ok=True)
        shutil.rmtree(self.tmp, ignore_errors=True)
        self.tmp = None

    def _write_config(self):
        tmp = self.tmp
        for d in ("root", "spool", "state", "cache", "log"):
            os.makedirs(os.path.join(tmp, d))
            os.chmod(os.path.join(tmp, d), 0o755)
        # Filters run as an unprivileged user and need to write here.
        os.makedirs(os.path.join(tmp, "tmp"))
        os.chmod(os.path.join(tmp, "tmp"), 0o1777)
        socket = os.path.join(tmp, "cups.sock")
        with open(os.path.join(tmp, "cupsd.conf"), "w") as f:
            f.write("""Listen %s
LogLevel debug
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultShared No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
""" % socket)
        with open(os.path.join(tmp, "cups-files.conf"), "w") as f:
            f.write("""ServerRoot {t}/root
RequestRoot {t}/spool
StateDir {t}/state
CacheDir {t}/cache
TempDir {t}/tmp
AccessLog {t}/log/access_log
ErrorLog {t}/log/error_log
PageLog {t}/log/page_log
FileDevice No
""".format(t=tmp))
        return socket

    def _cups_pdf_model(self):
        models = self.lp(["lpinfo", "-m"]).stdout.splitlines()
        for preferred in ("CUPS-PDF_opt.ppd", "CUPS-PDF_noopt.ppd", "CUPS-PDF"):
            for line in models:
                name = line.split(" ", 1)[0]
                if preferred in name:
                    return name
        raise Failure("no cups-pdf model among the drivers:\n" + "\n".join(models))

    # -- use --

    def client_env(self, base):
        """`base` with this server as the one a CUPS client talks to, and
        no printer chosen by the environment (the default queue counts)."""
        env = dict(base)
        for var in ("PRINTER", "LPDEST", "CUPS_USER"):
            env.pop(var, None)
        env["CUPS_SERVER"] = self.socket
        return env

    def lp(self, cmd, check=True, timeout=30):
        """Runs a CUPS client tool against this server."""
        return run(cmd, self.env, timeout=timeout, check=check)

    def error_log_tail(self, lines=25):
        try:
            with open(os.path.join(self.tmp, "log", "error_log")) as f:
                interesting = [l for l in f if l[:2] in ("E ", "W ") or "[Job" in l]
            return "".join(interesting[-lines:])
        except OSError:
            return "(no error log)"

    def pending_jobs(self):
        return self.lp(["lpstat", "-o", self.queue], check=False).stdout.strip().splitlines()

    def completed_jobs(self):
        return self.lp(["lpstat", "-W", "completed", "-o", self.queue]).stdout.splitlines()

    def queue_stopped(self):
        return "disabled" in self.lp(["lpstat", "-p", self.queue], check=False).stdout

    def idle_after(self, jobs=1):
        """The completed jobs (lpstat lines) once at least `jobs` jobs have
        completed and none is pending; None before."""
        if self.queue_stopped():
            raise Failure("the queue stopped:\n" + self.error_log_tail())
        if self.pending_jobs():
            return None
        done = self.completed_jobs()
        return done if len(done) >= jobs else None

    def wait_until_idle(self, timeout, jobs=1):
        return wait_for(lambda: self.idle_after(jobs), timeout,
                        "%d job(s) to complete on %s" % (jobs, self.queue), interval=0.2)

    def new_pdfs(self):
        after = pdf_snapshot(self.pdf_dir)
        return sorted(p for p, stamp in after.items() if self._before.get(p) != stamp)

    def take_pdf(self, dest, timeout=15):
        """Moves the one PDF that cups-pdf wrote since the start to `dest`."""
        produced = wait_for(self.new_pdfs, timeout,
                            "the PDF from cups-pdf in " + self.pdf_dir, interval=0.2)
        if len(produced) != 1:
            raise Failure("cups-pdf wrote %d files: %s" % (len(produced), produced))
        shutil.move(produced[0], dest)
        if not self._pdf_dir_existed and not os.listdir(self.pdf_dir):
            os.rmdir(self.pdf_dir)
        return dest


def pdf_pages(path):
    """Number of pages and the page size in points (width, height)."""
    info = run(["pdfinfo", path]).stdout
    pages = re.search(r"^Pages:\s+(\d+)", info, re.M)
    size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+)", info, re.M)
    if not pages or not size:
        raise Failure("pdfinfo does not tell the pages of %s:\n%s" % (path, info))
    return int(pages.group(1)), (float(size.group(1)), float(size.group(2)))
