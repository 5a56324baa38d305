"""make bench: what a pass costs beyond its fixed pauses, measured under Wine.

In one run on one machine, and in a Wine prefix of its own (build/wine/bench/win32), it
measures an empty GUI program of the agent's toolchain (the baseline: Wine's own start-up and
exit) and whole passes of the real Quintrel.exe with a provider stand-in that answers at once
and the local HTTPS receiver as the server, for templates that expand to 1, 10, 50 and 200
records, then one pass with the real provider. The runs go round by round (every row once per
round), so that a change of the machine's load touches every row alike; each figure is the
median of its runs.

Every measured pass starts without config.ini and without a log: every verdict is new, so the
pass posts its alert once and the passes of one size are alike. A pass that did anything else
stops the benchmark. Each size has a second row, the steady state of a fleet: the same pass
again (five minutes later, as scheduled), whose verdicts are unchanged and whose alert went
less than four hours ago, so that it builds and posts no alert. These rows, free of the post's
large and noisy cost, show how the cost grows with the records.

To tell where the cost of a small pass goes, the rows are set against each other (the parts
add up to the pass), and probes run single steps alone: Quintrel.exe without
"InstallationPath" (it loads its libraries and ends), and build/tools/pass_probe.exe, which
opens the machine's trusted root store, posts the one-record alert with Lorsend.dll, or
times pauses as a pass makes them.

Figures per run: wall time; CPU time (user + system) of the Windows process from wait4, and
with it that of the prefix's wineserver and services (file and registry work is done in the
server), from /proc/<pid>/schedstat; peak memory, the process's VmHWM, read every 2 ms while
it runs (the maximum resident set that wait4 gives includes this script's own); bytes the
pass added to the application log. There are no hardware counters to read in this sandbox, so
CPU time stands in for instruction counts.

Usage: make bench            (QUINTREL_BENCH_RUNS=n sets the runs per row, 5 by default)
       python3 tools/bench/benchmark.py --runs 3 --sizes 1,50
"""
import argparse
import datetime
import os
import pathlib
import platform
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
import quintrel_wine  # noqa: E402
import test_ca  # noqa: E402
from https_receiver import Receiver  # noqa: E402

BUILD = quintrel_wine.BUILD
EMPTY_GUI = BUILD / "tools" / "empty_gui.exe"
PROBE = BUILD / "tools" / "pass_probe.exe"
STANDIN = BUILD / "tests" / "e2e" / "standins" / "provider_standin.dll"
SIZES = (1, 10, 50, 200)
HEADER_BYTES = len(b"#Fields:\tdtime\tSession User Name\tmodule\ttype\tval1\tval2\tval3\n")
# The other drive letters the disk functions list, taken in turn, so that the larger
# templates keep verdicts for many counter paths in config.ini, as a real fleet may.
OTHER_DRIVES = "DEFGHIJKLMNOPQRSTUVWXYZ"
# Function ids in the order the template's sections take them: processor first, so that
# the one-record template also makes a rolling-average call.
FUNCTION_CYCLE = (3, 1, 4, 2)
DISK_RECORDS_PER_SECTION = 3  # the system drive and two listed drives
REAL_TEMPLATE_IDS = (1, 3, 4)  # quintrel_wine.DEFAULT_TEMPLATE: disk C, processor, memory

# Fixed pauses of a pass, in milliseconds.
PAUSE_BEFORE_TEMPLATE_TEST = 10
PAUSE_PER_REQUEST_ELEMENT = 20
PAUSE_AFTER_VALUED_RECORD = 40
PAUSE_IN_ROLLING_AVERAGE = 10
PAUSE_PER_ALERT_ELEMENT = 20
PAUSE_BEFORE_WEB_POST = 40
REAL_PROVIDER_SAMPLE_MS = 1000  # the real provider samples the processor for one second

# An installed template is old: Wine reads a profile file changed in the last 2.1 seconds
# afresh at every lookup, so a template written just before the pass would cost more.
TEMPLATE_AGE_SECONDS = 3600
# The steady-state pass comes five minutes after the previous one, as scheduled.
STEADY_CONFIG_AGE_SECONDS = 300
PEAK_POLL_SECONDS = 0.002
SLEEP_PROBE_COUNT = 50  # pauses per run of the probe that times them


def make_template(records):
    """A template expanding to exactly `records` records; returns (text, function ids)."""
    sections, ids = [], []
    drives = 0
    while len(ids) < records:
        number = len(sections) + 1
        function_id = FUNCTION_CYCLE[len(sections) % len(FUNCTION_CYCLE)]
        lines = [f"[DCM{number}]", f"Id={function_id}", f"scriptid={500 + number}"]
        if function_id in (1, 2):
            count = min(DISK_RECORDS_PER_SECTION, records - len(ids))
            lines += ["OSthreshold=10", "OScondition=<", f"NOSCount={count - 1}"]
            for k in range(1, count):
                letter = OTHER_DRIVES[drives % len(OTHER_DRIVES)]
                drives += 1
                lines += [f"Drv{k}={letter}", f"Cond{k}=<", f"Threshold{k}=5"]
            ids += [function_id] * count
        else:
            lines += ["OSthreshold=90", "OScondition=>"]
            ids.append(function_id)
        sections.append("\n".join(lines) + "\n")
    head = f"[DCM]\nTid=17\nTver=3\nCount={len(sections)}\n"
    return head + "".join(sections), ids


def pause_counts(ids, posts=1):
    """{pause length in ms: how many} of a pass over records with these function ids in
    which every record had a value; posts 0 is a pass that builds and sends no alert."""
    counts = {}

    def add(length, count):
        counts[length] = counts.get(length, 0) + count

    add(PAUSE_BEFORE_TEMPLATE_TEST, 1)
    add(PAUSE_PER_REQUEST_ELEMENT, len(ids))
    add(PAUSE_AFTER_VALUED_RECORD, len(ids))
    add(PAUSE_IN_ROLLING_AVERAGE, sum(1 for i in ids if i >= 3))
    if posts:
        add(PAUSE_PER_ALERT_ELEMENT, len(ids))
        add(PAUSE_BEFORE_WEB_POST, posts)
    return counts


def fixed_pauses(ids, posts=1):
    """The pauses of such a pass in milliseconds."""
    return sum(length * count for length, count in pause_counts(ids, posts).items())


def quiet(records):
    """The name of the row of passes over that many records that post nothing."""
    return f"{records} no post"


def read_cpu_ns(pid):
    """CPU time of every thread of a process in nanoseconds; None when it is gone."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
    except (FileNotFoundError, ProcessLookupError):
        return None
    return total


def prefix_processes(prefix):
    """pid -> "server" or "service" for the processes running in this Wine prefix."""
    wanted = os.path.realpath(prefix)
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as env:
                values = env.read().split(b"\0")
            with open(f"/proc/{entry}/comm") as comm:
                name = comm.read().strip()
        except OSError:
            continue
        for value in values:
            if value.startswith(b"WINEPREFIX="):
                if os.path.realpath(value[11:].decode(errors="replace")) == wanted:
                    found[int(entry)] = "server" if name.startswith("wineserver") else "service"
                break
    return found


def watch_peak(pid, done, peak):
    """Keeps peak[0] at the highest VmHWM (KiB) of the process until done is set."""
    pattern = re.compile(rb"VmHWM:\s+(\d+)")
    while not done.is_set():
        try:
            with open(f"/proc/{pid}/status", "rb") as status:
                found = pattern.search(status.read())
        except OSError:
            return
        if found:
            peak[0] = max(peak[0], int(found.group(1)))
        done.wait(PEAK_POLL_SECONDS)


def machine_busy():
    """(busy, total, stolen) jiffies of all CPUs since boot; stolen is the time the virtual
    machine's host ran something else."""
    with open("/proc/stat") as stat:
        fields = [int(f) for f in stat.readline().split()[1:]]
    idle = fields[3] + fields[4]
    return sum(fields) - idle, sum(fields), fields[7] if len(fields) > 7 else 0


class Sample:
    """The figures of one run."""

    def __init__(self, wall_ms, cpu_ms, server_ms, peak_kib):
        self.wall_ms = wall_ms
        self.cpu_ms = cpu_ms
        self.total_cpu_ms = cpu_ms + server_ms
        self.peak_kib = peak_kib
        self.log_bytes = 0


class Row:
    """The medians of one row of runs."""

    def __init__(self, samples):
        self.runs = len(samples)
        for field in ("wall_ms", "cpu_ms", "total_cpu_ms", "peak_kib", "log_bytes"):
            setattr(self, field, statistics.median(getattr(s, field) for s in samples))
        self.wall_range = (min(s.wall_ms for s in samples), max(s.wall_ms for s in samples))
        self.cpu_range = (min(s.total_cpu_ms for s in samples),
                          max(s.total_cpu_ms for s in samples))


def log_messages(install):
    """(module, type, val1, val2, val3) of every log line; a line cut at its length limit
    (the alert document of a large template) has empty fields for what was cut off."""
    found = []
    for fields in install.log_lines():
        fields = fields + [""] * (6 - len(fields))
        found.append((fields[1].split(" ", 1)[-1], *fields[2:6]))
    return found


class Bench:
    def __init__(self, runs, sizes):
        self.runs = runs
        self.sizes = sizes
        self.wine = quintrel_wine.Wine("win32", prefix=BUILD / "wine" / "bench" / "win32")
        self.templates = {n: make_template(n) for n in sizes}
        self.samples = {}
        self.server_ms = 0.0  # the prefix's server and services, for the machine's load
        self.late = {}  # pause length -> how late each run's pauses ended, in ms per pause

    def add(self, name, sample):
        self.samples.setdefault(name, []).append(sample)

    # -- running one program and measuring it --

    def measure(self, program, *args):
        """Runs a Windows program to its end and returns its Sample."""
        before = {pid: read_cpu_ns(pid) for pid in prefix_processes(self.wine.prefix)}
        devnull = os.open(os.devnull, os.O_RDWR)
        done, peak = threading.Event(), [0]
        try:
            start = time.perf_counter_ns()
            pid = os.posix_spawnp("wine", ["wine", str(program), *map(str, args)], self.wine.env,
                                  file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 0),
                                                (os.POSIX_SPAWN_DUP2, devnull, 1),
                                                (os.POSIX_SPAWN_DUP2, devnull, 2)])
            watcher = threading.Thread(target=watch_peak, args=(pid, done, peak))
            watcher.start()
            _, status, usage = os.wait4(pid, 0)
            wall_ns = time.perf_counter_ns() - start
            done.set()
            watcher.join()
        finally:
            os.close(devnull)
        if os.waitstatus_to_exitcode(status) != 0:
            raise RuntimeError(f"{program} ended with {os.waitstatus_to_exitcode(status)}")
        server_ns = 0
        for pid, kind in prefix_processes(self.wine.prefix).items():
            now = read_cpu_ns(pid)
            if now is not None:
                server_ns += now - (before.get(pid) or 0)
        self.server_ms += server_ns / 1e6
        return Sample(wall_ns / 1e6, (usage.ru_utime + usage.ru_stime) * 1e3, server_ns / 1e6,
                      peak[0])

    # -- the installation --

    def prepare(self):
        self.wine.make()
        certs = test_ca.ensure(BUILD / "test-ca")
        trust = BUILD / "tools" / "trust_ca.exe"
        if self.wine.run(trust, self.wine.windows_path(certs["ca"])) != 0:
            raise RuntimeError("could not trust the test CA in the bench prefix")
        self.receiver = Receiver(*certs["server"]).start()
        self.install = quintrel_wine.Installation(self.wine, self.wine.drive_c / "bench" /
                                                  "Quintrel")
        self.install.server_host = self.receiver.address
        self.real_provider = self.install.folder / "tovradc.dll.real"
        shutil.copy2(self.install.folder / "tovradc.dll", self.real_provider)
        self.registered = None
        self.alert_file = self.install.folder / "bench_alert.xml"
        self.alert_url = None

    def register(self, template=None, **changes):
        """Writes the template (made old) and the registry values, unless already there."""
        state = (template, tuple(sorted(changes.items())))
        if self.registered == state:
            return
        if template is not None:
            self.install.write_template(template)
            old = time.time() - TEMPLATE_AGE_SECONDS
            os.utime(self.install.template_file, (old, old))
        self.install.register(**changes)
        self.registered = state

    def use_provider(self, source):
        shutil.copy2(source, self.install.folder / "tovradc.dll")

    def fresh_state(self):
        """No config.ini (every verdict is new, so the alert goes at once) and no log."""
        for path in (self.install.config_file, self.install.log_file,
                     self.install.folder / "provider_request.txt"):
            path.unlink(missing_ok=True)

    def run_pass(self, ids, real=False, posts=1):
        log_before = self.install.log_file.stat().st_size if posts == 0 else HEADER_BYTES
        lines_before = len(self.install.log_lines()) if posts == 0 else 0
        received = len(self.receiver.requests)
        sample = self.measure(self.install.folder / "Quintrel.exe")
        sample.log_bytes = self.install.log_file.stat().st_size - log_before
        requests = self.receiver.requests[received:]
        self.check_pass(ids, requests, real, posts, log_messages(self.install)[lines_before:])
        if requests and self.alert_url is None:
            self.alert_file.write_bytes(requests[0]["body"])
            self.alert_url = (f"https://{self.receiver.address}{requests[0]['path']}?"
                              f"{requests[0]['query']}")
        return sample

    def check_pass(self, ids, requests, real, posts, messages):
        """The pass did what its pauses are computed from: every record had a value, ids 3
        and 4 went through the rolling average, the alert was posted once (or not at all
        when posts is 0), and no status report was sent."""
        present = [m for m in messages if m[0] == "InitDLL" and m[3] == "present value"]
        averaged = [m for m in messages if m[0] == "GetVal" and m[2] == "avg"]
        paths = [r["path"] for r in requests]
        problems = []
        if len(present) != len(ids):
            problems.append(f"{len(present)} records with a value, not {len(ids)}")
        if len(averaged) != sum(1 for i in ids if i >= 3):
            problems.append(f"{len(averaged)} rolling-average calls")
        if paths != ["/tfr_wpdcmmonalert.asp"] * posts:
            problems.append(f"the server received {paths}")
        if not messages or messages[-1][2] != "Application Ended":
            problems.append("no end line")
        if problems:
            raise RuntimeError(f"unexpected pass ({len(ids)} records{', real' if real else ''}): "
                               + "; ".join(problems))

    # -- the rounds --

    def round(self, index):
        # The baseline is short and its start-up varies with what ran just before it, so it
        # runs three times a round, at three places.
        self.add("probe", self.measure(PROBE))
        self.add("probe roots", self.measure(PROBE, "roots"))
        timing = self.install.folder / "bench_pauses.txt"
        for length in sorted(pause_counts([3])):
            self.measure(PROBE, "sleep", length, SLEEP_PROBE_COUNT, self.wine.windows_path(timing))
            took = float(timing.read_text())
            self.late.setdefault(length, []).append(
                (took - length * SLEEP_PROBE_COUNT) / SLEEP_PROBE_COUNT)
        self.add("baseline", self.measure(EMPTY_GUI))
        self.register(InstallationPath=None)
        self.add("agent start", self.measure(self.install.folder / "Quintrel.exe"))
        self.add("baseline", self.measure(EMPTY_GUI))
        self.use_provider(STANDIN)
        for n in self.sizes:
            text, ids = self.templates[n]
            self.register(text)
            self.fresh_state()
            self.add(n, self.run_pass(ids))
            # The same pass five minutes later: nothing changed, nothing to post.
            old = time.time() - STEADY_CONFIG_AGE_SECONDS
            os.utime(self.install.config_file, (old, old))
            self.add(quiet(n), self.run_pass(ids, posts=0))
            if n == self.sizes[0]:
                self.add("probe post", self.measure(
                    PROBE, "post", self.wine.windows_path(self.install.folder / "Lorsend.dll"),
                    self.alert_url, self.wine.windows_path(self.alert_file)))
            print(f"  round {index + 1} of {self.runs}: {n} records, "
                  f"{self.samples[n][-1].wall_ms:.0f} ms", flush=True)
        self.add("baseline", self.measure(EMPTY_GUI))
        self.use_provider(self.real_provider)
        self.register(quintrel_wine.DEFAULT_TEMPLATE)
        self.fresh_state()
        self.add("real", self.run_pass(REAL_TEMPLATE_IDS, real=True))

    def run(self):
        self.prepare()
        load_before = os.getloadavg()
        busy_start, total_start, stolen_start = machine_busy()
        own_start = own_cpu_seconds()
        started = time.time()
        try:
            self.measure(EMPTY_GUI)  # the first start after the prefix's boot is slower
            for index in range(self.runs):
                self.round(index)
        finally:
            self.use_provider(self.real_provider)
            self.receiver.stop()
            self.install.unregister()
            self.wine.stop()
        busy_end, total_end, stolen_end = machine_busy()
        jiffies = max(1, total_end - total_start)
        self.load = {
            "before": load_before, "after": os.getloadavg(), "seconds": time.time() - started,
            "busy": (busy_end - busy_start) / jiffies,
            "stolen": (stolen_end - stolen_start) / jiffies,
            "own": (own_cpu_seconds() - own_start + self.server_ms / 1e3) *
                   os.sysconf("SC_CLK_TCK") / jiffies,
        }
        self.rows = {name: Row(samples) for name, samples in self.samples.items()}

    # -- the report --

    def report(self):
        rows = self.rows
        base = rows["baseline"]
        print()
        print(f"Quintrel pass benchmark, {datetime.date.today().isoformat()}")
        print(f"machine: {cpu_model()}, {os.cpu_count()} cores, {platform.system()} "
              f"{platform.release()}, {wine_version()}, win32 prefix")
        load = self.load
        print(f"load: average {load['before'][0]:.2f} before, {load['after'][0]:.2f} after; "
              f"CPUs busy {load['busy'] * 100:.0f}% during the {load['seconds']:.0f} s run, "
              f"{load['own'] * 100:.0f} points of it this benchmark's own processes, "
              f"{load['stolen'] * 100:.1f}% stolen by the virtual machine's host")
        print(f"{self.runs} runs per row (the baseline three times a round), medians. CPU: user "
              "+ system of the Windows process; +server: with the prefix's wineserver and "
              "services.")
        print(f"baseline (empty GUI program): {base.wall_ms:.0f} ms wall, {base.cpu_ms:.1f} ms "
              f"CPU, {base.total_cpu_ms:.1f} ms +server, peak {base.peak_kib / 1024:.1f} MiB")
        print()
        head = ("records", "pauses ms", "pass ms", "overhead ms", "of pauses", "CPU ms",
                "+server ms", "CPU beyond", "peak MiB", "mem beyond", "log bytes")
        print("  ".join(f"{h:>11}" for h in head))
        self.figures = {}
        rows_in_order = [(n, str(n), 1) for n in self.sizes]
        rows_in_order += [(quiet(n), f"{n} no post", 0) for n in self.sizes]
        for name, label, posts in rows_in_order:
            ids = self.templates[int(label.split()[0])][1]
            self.figures[name] = self.print_row(label, rows[name], fixed_pauses(ids, posts))
        self.figures["real"] = self.print_row(
            "3 real", rows["real"], fixed_pauses(REAL_TEMPLATE_IDS) + REAL_PROVIDER_SAMPLE_MS)
        print("  (no post: the same pass again five minutes later; nothing changed, so no alert "
              "is built or sent.\n   3 real: the shipped three-record template with the real "
              "provider, whose pauses include its one-second sample.)")
        print("spread of the runs, lowest to highest (pass ms; CPU +server ms):")
        for name, label, _ in rows_in_order + [("real", "3 real", 1), ("baseline", "empty", 0)]:
            row = rows[name]
            print(f"  {label:>11}  {row.wall_range[0]:8.0f} to {row.wall_range[1]:<8.0f}"
                  f"{row.cpu_range[0]:7.1f} to {row.cpu_range[1]:.1f}")
        print()
        self.print_breakdown()
        print()
        print("cost of one more record, from one size to the next (CPU +server, wall overhead; "
              "the passes that post, and those that do not):")
        for smaller, larger in zip(self.sizes, self.sizes[1:]):
            added = larger - smaller
            cells = []
            for a, b in ((smaller, larger), (quiet(smaller), quiet(larger))):
                cpu = (rows[b].total_cpu_ms - rows[a].total_cpu_ms) / added
                wall = (self.figures[b]["overhead"] - self.figures[a]["overhead"]) / added
                cells.append(f"{cpu:6.2f} ms CPU {wall:6.2f} ms wall")
            print(f"  {smaller:>4} -> {larger:<4} posting {cells[0]}   no post {cells[1]}")
        print()
        print("files of the installation:")
        for path in sorted(quintrel_wine.DIST.rglob("*")):
            if path.suffix.lower() in (".exe", ".dll"):
                print(f"  {str(path.relative_to(quintrel_wine.DIST)):20} "
                      f"{path.stat().st_size:>9,} bytes")
        print()
        self.print_targets()

    def print_row(self, label, row, pauses):
        base = self.rows["baseline"]
        figures = {
            "pauses": pauses, "overhead": row.wall_ms - base.wall_ms - pauses,
            "cpu_beyond": row.total_cpu_ms - base.total_cpu_ms,
            "mem_beyond": (row.peak_kib - base.peak_kib) / 1024,
        }
        cells = [label, f"{pauses:.0f}", f"{row.wall_ms:.0f}", f"{figures['overhead']:.0f}",
                 f"{figures['overhead'] / pauses * 100:.1f}%", f"{row.cpu_ms:.1f}",
                 f"{row.total_cpu_ms:.1f}", f"{figures['cpu_beyond']:.1f}",
                 f"{row.peak_kib / 1024:.1f}", f"{figures['mem_beyond']:.2f}",
                 f"{row.log_bytes:.0f}"]
        print("  ".join(f"{c:>11}" for c in cells))
        return figures

    def overshoot_per_pause(self):
        """{length: ms} by which a pause of that length ends late (median of the rounds)."""
        return {length: statistics.median(late) for length, late in self.late.items()}

    def overshoot(self, counts):
        per_pause = self.overshoot_per_pause()
        return sum(per_pause[length] * count for length, count in counts.items())

    def parts(self):
        """Where the smallest pass goes: (text, wall ms, CPU +server ms) per part, each the
        difference of two measured rows, so that the parts add up to the pass; and the root
        import alone (wall ms, CPU ms). Lines starting with blanks are parts of the line
        above them and are not added."""
        r = self.rows
        n = self.sizes[0]
        ids = self.templates[n][1]

        def diff(a, b):
            return (a.wall_ms - b.wall_ms, a.total_cpu_ms - b.total_cpu_ms)

        unposted, posting = pause_counts(ids, posts=0), pause_counts(ids)
        added = {length: posting[length] - unposted.get(length, 0) for length in posting}
        late_quiet, late_added = self.overshoot(unposted), self.overshoot(added)
        startup = (r["baseline"].wall_ms, r["baseline"].total_cpu_ms)
        libraries = diff(r["agent start"], r["baseline"])
        own = diff(r[quiet(n)], r["agent start"])
        own = (own[0] - fixed_pauses(ids, posts=0) - late_quiet, own[1])
        post = diff(r[n], r[quiet(n)])
        post = (post[0] - (fixed_pauses(ids) - fixed_pauses(ids, posts=0)) - late_added, post[1])
        roots = diff(r["probe roots"], r["probe"])
        return [
            ("Wine's start-up and exit (the empty program)", *startup),
            ("loading the agent's system libraries (Quintrel.exe without InstallationPath)",
             *libraries),
            ("the agent's own work when nothing is posted (logger, provider, files, registry)",
             *own),
            ("what posting adds (verdicts written, alert, Lorsend.dll, WinHTTP, TLS, HTTP)",
             *post),
            ("  the post alone (the probe posting the alert, beyond the idle probe)",
             *diff(r["probe post"], r["probe"])),
            ("  of which Wine's import of the host's trusted roots, once per process", *roots),
            ("the fixed pauses", fixed_pauses(ids), 0.0),
            ("the pauses' overshoot (a pause under Wine ends a little late)",
             late_quiet + late_added, 0.0),
        ], roots

    def print_breakdown(self):
        n = self.sizes[0]
        parts, _ = self.parts()
        print(f"where the {n}-record pass goes (wall ms, CPU +server ms; indented lines are "
              "parts of the line above, measured alone):")
        for text, wall, cpu in parts:
            print(f"  {text:82} {wall:7.1f} {cpu:7.1f}")
        print(f"  {'= the pass':82} {self.rows[n].wall_ms:7.1f} {self.rows[n].total_cpu_ms:7.1f}")
        print("peak memory (MiB) of the steps run alone:")
        for name, text in (("baseline", "the empty program"),
                           ("agent start", "Quintrel.exe without InstallationPath"),
                           (quiet(n), f"the {n}-record pass that posts nothing"),
                           ("probe", "the probe with its libraries (crypt32, oleaut32)"),
                           ("probe roots", "the probe opening the trusted roots"),
                           ("probe post", "the probe posting the alert"),
                           (n, f"the {n}-record pass")):
            print(f"  {text:82} {self.rows[name].peak_kib / 1024:7.1f}")
        per_pause = self.overshoot_per_pause()
        print("a pause ends late by " + ", ".join(
            f"{per_pause[length]:.2f} ms at {length} ms" for length in sorted(per_pause)) +
            "; so the pauses of a pass take longer by " + ", ".join(
            f"{self.overshoot(pause_counts(self.templates[size][1])):.0f} ms at {size}"
            for size in self.sizes))

    def print_targets(self):
        f = self.figures
        _, roots = self.parts()
        checks = []
        for n in (50, 200):
            if n in f:
                ratio = f[n]["overhead"] / f[n]["pauses"]
                late = self.overshoot(pause_counts(self.templates[n][1]))
                without = (f[n]["overhead"] - roots[0] - late) / f[n]["pauses"]
                checks.append((f"overhead under 5% of the pauses at {n} records",
                               ratio < 0.05, f"{ratio * 100:.1f}%; without Wine's root import "
                               f"and the pauses' overshoot {without * 100:.1f}%"))
        if 50 in f:
            cpu = f[50]["cpu_beyond"]
            checks.append(("CPU beyond the baseline under 30 ms at 50 records", cpu < 30,
                           f"{cpu:.1f} ms; without Wine's root import {cpu - roots[1]:.1f} ms"))
        if 200 in f:
            mem = f[200]["mem_beyond"]
            quiet_mem = f[quiet(200)]["mem_beyond"]
            growth = (self.rows[200].peak_kib - self.rows[self.sizes[0]].peak_kib) / 1024
            checks.append(("memory beyond the baseline under 2 MiB at 200 records", mem < 2,
                           f"{mem:.2f} MiB; posting nothing {quiet_mem:.2f} MiB; beyond the "
                           f"{self.sizes[0]}-record pass {growth:.2f} MiB"))
        if len(self.sizes) >= 3:
            rows = self.rows
            # Over the passes that post nothing: the post's cost is fixed, but its noise
            # would hide the cost of a few records.
            steps = [(rows[quiet(b)].total_cpu_ms - rows[quiet(a)].total_cpu_ms) / (b - a)
                     for a, b in zip(self.sizes, self.sizes[1:])]
            # Linear: a record added at the largest size costs no more than one added at
            # the smaller sizes, with room for the noise of a shared machine.
            linear = steps[-1] <= 1.5 * max(steps[:-1]) + 0.2
            checks.append(("cost per record does not grow with the size", linear,
                           ", ".join(f"{s:.2f}" for s in steps) + " ms CPU per record from "
                           + " to ".join(map(str, self.sizes)) + " (passes that post nothing)"))
        print("targets:")
        for text, met, figure in checks:
            print(f"  {'met   ' if met else 'MISSED'} {text}: {figure}")


def own_cpu_seconds():
    import resource
    me = resource.getrusage(resource.RUSAGE_SELF)
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return me.ru_utime + me.ru_stime + children.ru_utime + children.ru_stime


def cpu_model():
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.machine()


def wine_version():
    with open(os.devnull, "wb") as sink, open(BUILD / "wine" / "bench" / "version.txt",
                                              "w+") as out:
        subprocess.run(["wine", "--version"], stdout=out, stderr=sink, stdin=subprocess.DEVNULL)
        out.seek(0)
        return out.read().strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int,
                        default=int(os.environ.get("QUINTREL_BENCH_RUNS", "5")))
    parser.add_argument("--sizes", default=",".join(map(str, SIZES)),
                        help="records per template, smallest first (default 1,10,50,200)")
    args = parser.parse_args()
    sizes = tuple(int(s) for s in args.sizes.split(","))
    for needed in (EMPTY_GUI, PROBE, STANDIN, quintrel_wine.DIST / "Quintrel.exe"):
        if not needed.exists():
            print(f"missing {needed}: run make build")
            return 1
    bench = Bench(args.runs, sizes)
    bench.run()
    bench.report()
    return 0


if __name__ == "__main__":
    sys.exit(main())
