"""Twenty passes started at the same moment on one installation: the mutex lets the passes
run one at a time, every process exits 0 and the shared files stay whole."""
import configparser
import re
import time

LINE = re.compile(r"^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d (AM|PM)\t\d{6} [^\t]+\t[^\t]*\t[^\t]*\t"
                  r"[^\t]*\t[^\t]*$")


def test_twenty_passes_at_once(install):
    assert install.run_pass() == 0  # the first pass stores every verdict
    processes = [install.wine.start(install.folder / "Quintrel.exe") for _ in range(20)]
    deadline = time.time() + 300
    codes = [p.wait(timeout=max(1, deadline - time.time())) for p in processes]
    assert codes == [0] * 20
    text = install.log_text()
    lines = text.split("\n")
    assert lines[0].startswith("#Fields:") and lines[-1] == ""
    assert text.count("#Fields:") == 1
    for line in lines[1:-1]:
        assert LINE.match(line), repr(line)
    messages = install.log_messages()
    started = sum(1 for m in messages if m[2] == "Application Started")
    refused = sum(1 for m in messages if m[4] == "Another instance is running")
    ended = sum(1 for m in messages if m[2] == "Application Ended")
    assert started + refused == 21 and ended == 21
    assert started >= 2  # the first pass and at least one of the twenty
    stored = configparser.ConfigParser(interpolation=None)
    stored.read_string(install.config_file.read_text())
    assert {r"\LogicalDisk(C:)\% Free Space", r"\Processor(_total)\% Processor Time",
            r"\Memory\Available MBytes", "avg", "webpost"} <= set(stored.sections())
