"""Runs Quintrel under Wine: prefixes, registry values, installation folders and passes.

Shared by the whole-pass tests (tests/e2e) and the demo. Output of Wine programs always goes
to files, never to pipes: Wine's helper processes can keep a pipe open after a program ends.
"""
import hashlib
import os
import pathlib
import re
import shutil
import subprocess
import tempfile

REPO = pathlib.Path(__file__).resolve().parents[1]
BUILD = pathlib.Path(os.environ.get("QUINTREL_BUILD_DIR", REPO / "build"))
DIST = BUILD / "dist"
AGENT_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\VUREZU"
# What an installation ships: free space of the system drive, processor time, free memory.
DEFAULT_TEMPLATE = """[DCM]
Tid=1
Tver=1
Count=3
[DCM1]
Id=1
scriptid=101
OSthreshold=10
OScondition=<
NOSCount=0
[DCM2]
Id=3
scriptid=102
OSthreshold=90
OScondition=>
[DCM3]
Id=4
scriptid=103
OSthreshold=100
OScondition=<
"""
MUTEX_NAME = "GlobalQuintrel123"


class Wine:
    """One Wine prefix with its server kept warm."""

    def __init__(self, arch="win32", prefix=None):
        self.arch = arch
        self.prefix = pathlib.Path(prefix or BUILD / "wine" / arch)
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH=arch,
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env.pop("DISPLAY", None)

    def make(self):
        """Creates the prefix when it does not exist yet, then starts its server."""
        if not (self.prefix / ".quintrel-ready").exists():
            self.make_fresh()
        self.warm()

    def server_running(self):
        """True while the prefix's wineserver runs: it listens on a socket named after it."""
        try:
            info = os.stat(self.prefix)
        except OSError:
            return False
        socket = pathlib.Path(f"/tmp/.wine-{os.getuid()}") / \
            f"server-{info.st_dev:x}-{info.st_ino:x}" / "socket"
        return socket.exists()

    def warm(self):
        """Starts the server and the prefix's services with no pipe attached (a service started
        by a later run would keep that run's pipes open)."""
        if self.server_running():
            return
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL, env=self.env)
        subprocess.run(["wineserver", "-p"], **quiet)
        subprocess.run(["wine", "wineboot"], **quiet)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def make_fresh(self):
        """Makes the prefix anew, whatever was there before, then starts its server."""
        self.stop()
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        with open(self.prefix.parent / f"{self.prefix.name}-boot.log", "wb") as log:
            subprocess.run(["wineboot", "-i"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=log, stderr=log, check=True)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        (self.prefix / ".quintrel-ready").touch()
        self.warm()

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def windows_path(self, path):
        """The Windows name of a Linux path: C:\\ inside the prefix, Z:\\ elsewhere."""
        path = pathlib.Path(path).resolve()
        try:
            return "C:\\" + "\\".join(path.relative_to(self.drive_c.resolve()).parts)
        except ValueError:
            return "Z:" + str(path).replace("/", "\\")

    def run(self, program, *args, timeout=120, loader="wine"):
        """Runs a program to its end; returns its exit code."""
        with tempfile.TemporaryFile() as output:
            done = subprocess.run([loader, str(program), *map(str, args)], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=output, stderr=output,
                                  timeout=timeout)
        return done.returncode

    def output(self, program, *args, timeout=120, loader="wine"):
        """Runs a program to its end; returns its exit code and what it wrote."""
        with tempfile.TemporaryFile() as output:
            done = subprocess.run([loader, str(program), *map(str, args)], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=output, stderr=output,
                                  timeout=timeout)
            output.seek(0)
            return done.returncode, output.read().decode("utf-8", "replace")

    def msiexec(self, *args, timeout=300):
        """Runs Windows Installer; returns its exit code, of which Wine keeps the low byte."""
        return self.run("msiexec", *args, timeout=timeout)

    def registry_values(self, key, view=32):
        """name -> data (as reg query shows it) of the values of a key, None when the key does
        not exist; view 64 reads the 64-bit view of a win64 prefix."""
        loader = "/usr/lib/wine/wine64" if view == 64 else "wine"
        code, text = self.output("reg", "query", key, loader=loader)
        if code != 0:
            return None
        values = {}
        for line in text.splitlines():
            found = re.match(r"^    (.+?)    (REG_[A-Z_]+)(?:    (.*))?$", line)
            if found:
                values[found.group(1)] = found.group(3) or ""
        return values

    def drive_c_path(self, windows_path):
        """The Linux path of a C:\\ path inside the prefix."""
        relative = re.match(r"^[Cc]:\\(.*)$", windows_path).group(1)
        return self.drive_c.joinpath(*[part for part in relative.split("\\") if part])

    def start(self, program, *args):
        """Starts a program and returns at once (a subprocess.Popen)."""
        return subprocess.Popen(["wine", str(program), *map(str, args)], env=self.env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def import_registry(self, text, view=32):
        """Imports a REGEDIT4 text; view 64 writes the 64-bit view of a win64 prefix."""
        with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False,
                                         encoding="latin-1") as reg:
            reg.write("REGEDIT4\r\n\r\n" + text.replace("\n", "\r\n"))
        try:
            loader = "/usr/lib/wine/wine64" if view == 64 else "wine"
            code = self.run("regedit", "/S", self.windows_path(reg.name), loader=loader)
            if code != 0:
                raise RuntimeError(f"regedit failed with {code}")
        finally:
            os.unlink(reg.name)


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def reg_value(name, value):
    """One value line: str is REG_SZ, int REG_DWORD, bytes REG_BINARY,
    ("multi", [texts]) REG_MULTI_SZ."""
    if isinstance(value, str):
        data = reg_string(value)
    elif isinstance(value, int):
        data = f"dword:{value:08x}"
    elif isinstance(value, bytes):
        data = "hex:" + ",".join(f"{b:02x}" for b in value)
    elif isinstance(value, tuple) and value[0] == "multi":
        raw = b"".join(t.encode("latin-1") + b"\0" for t in value[1]) + b"\0"
        data = "hex(7):" + ",".join(f"{b:02x}" for b in raw)
    else:
        raise TypeError(value)
    return f"{reg_string(name)}={data}\n"


def agent_key_text(values, key=AGENT_KEY):
    """Replaces the agent key with exactly these values (None leaves a value out)."""
    lines = [f"[-{key}]\n\n", f"[{key}]\n"]
    lines += [reg_value(n, v) for n, v in values.items() if v is not None]
    return "".join(lines) + "\n"


class Installation:
    """An installation folder inside the prefix, set up as an installer would."""

    def __init__(self, wine, folder):
        """folder: a Linux path inside the prefix's drive C, made afresh."""
        self.wine = wine
        self.folder = pathlib.Path(folder)
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        for item in DIST.iterdir():
            if item.is_dir():
                shutil.copytree(item, self.folder / item.name)
            elif item.suffix.lower() in (".exe", ".dll"):
                shutil.copy2(item, self.folder / item.name)
        (self.folder / "Ardo" / "MonitorTemplate").mkdir(parents=True)
        self.install_path = wine.windows_path(self.folder) + "\\"
        self.identity = {"REGID": "12345", "MEMBERID": "m-77", "SITEID": "s-9", "TYPE": "1"}
        self.server_host = None
        self.performance = None
        self.write_template(DEFAULT_TEMPLATE)

    def values(self, **changes):
        values = {"InstallationPath": self.install_path, **self.identity,
                  "ServerHost": self.server_host, "performance": self.performance}
        values.update(changes)
        return values

    def register(self, view=32, **changes):
        """Writes the agent key: InstallationPath and identity, with changes (None removes)."""
        self.wine.import_registry(agent_key_text(self.values(**changes)), view=view)

    @property
    def template_file(self):
        return self.folder / "Ardo" / "MonitorTemplate" / "DesktopMonitor.ini"

    def write_template(self, text, seal=True):
        """Writes DesktopMonitor.ini (line ends CR LF) and, with seal, records its MD5 as
        "performance", as the installer does. Call register() afterwards."""
        data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("latin-1")
        self.template_file.write_bytes(data)
        if seal:
            self.performance = hashlib.md5(data).hexdigest()

    def unregister(self):
        self.wine.import_registry(f"[-{AGENT_KEY}]\n\n")

    def run_pass(self, timeout=120, executable=None):
        return self.wine.run(executable or self.folder / "Quintrel.exe", timeout=timeout)

    @property
    def log_file(self):
        return self.folder / "ApplicationLog" / "Quintrel" / "Quintrel.Log"

    def log_text(self):
        return self.log_file.read_bytes().decode("latin-1") if self.log_file.exists() else ""

    def log_lines(self):
        """The log lines after the header, each as its six fields."""
        lines = self.log_text().split("\n")
        return [line.split("\t") for line in lines[1:] if line]

    def log_messages(self, *modules):
        """(module, type, val1, val2, val3) of every log line, module taken from field 2;
        only the lines of the given modules when some are named."""
        lines = [(f[1].split(" ", 1)[1], f[2], f[3], f[4], f[5]) for f in self.log_lines()]
        return [line for line in lines if not modules or line[0] in modules]

    @property
    def config_file(self):
        return self.folder / "Ardo" / "MonitorTemplate" / "config.ini"

    @property
    def archive_folder(self):
        return self.folder / "ZIVPostLogs"

    def archived(self):
        """name -> content of every archived document."""
        if not self.archive_folder.exists():
            return {}
        return {p.name: p.read_bytes().decode("latin-1")
                for p in sorted(self.archive_folder.iterdir())}
