"""Whole passes over the template checks: the file, the recorded checksum, the template tool,
and the reading of the functions, as the log and the server see them."""
import time

import pytest

from conftest import status_messages

TEMPLATE = """[DCM]
Tid=17
Tver=3
Count=2
[DCM1]
Id=1
scriptid=501
OSthreshold=10
OScondition=<
[DCM2]
Id=3
scriptid=502
OSthreshold=90
OScondition=>
"""
PASS_MODULES = ("----", "WM", "InitDLL")
STARTED = ("----", "----", "Application Started", "----", "----")
LOADED = ("InitDLL", "INFO", "", "Success", "Tovra dll Loaded")
ENDED = ("----", "----", "Application Ended", "----", "----")
SPAWN = [("WM", "ERROR", "", "Start", "Spawning Stavrik.exe"),
         ("WM", "ERROR", "", "End", "Spawning Stavrik.exe")]


def tool_ran(install, timeout=20):
    log = install.folder / "ardo" / "Stavrik.log"
    deadline = time.time() + timeout
    while time.time() < deadline:
        if log.exists() and "Template regeneration requested" in log.read_text():
            return True
        time.sleep(0.1)
    return False


def test_sealed_template_is_read(install, receiver):
    install.write_template(TEMPLATE)
    install.register()
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES)[:4] == [
        STARTED, LOADED, ("InitDLL", "INFO", "", "CheckSum", "Matched"),
        ("InitDLL", "INFO", "Counter to monitor", "=", "2")]
    assert status_messages(receiver) == []


def test_missing_template_ends_the_pass(install, receiver):
    install.template_file.unlink()
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES) == [
        STARTED, LOADED, ("WM", "ERROR", "", "", "DesktopMonitor.ini file missing"), ENDED]
    assert status_messages(receiver) == ["DesktopMonitor.ini file missing"]


def test_installation_path_without_backslash_misses_the_template(install, receiver):
    install.write_template(TEMPLATE)
    install.register(InstallationPath=install.install_path.rstrip("\\"))
    assert install.run_pass() == 0
    assert ("WM", "ERROR", "", "", "DesktopMonitor.ini file missing") in install.log_messages()


@pytest.mark.parametrize("performance, line", [
    (None, ("WM", "ERROR", "", "korvpath", "Missing performance key")),
    ("upper", ("WM", "ERROR", "", "", "DesktopMonitor.ini file corrupted[m]")),
    ("trailing blank", ("WM", "ERROR", "", "", "DesktopMonitor.ini file corrupted[m]")),
    ("line ends", ("WM", "ERROR", "", "", "DesktopMonitor.ini file corrupted[m]")),
])
def test_altered_template_starts_the_tool_and_ends_the_pass(install, receiver, performance,
                                                            line):
    install.write_template(TEMPLATE)
    if performance == "upper":
        install.performance = install.performance.upper()
    elif performance == "trailing blank":
        install.performance += " "
    elif performance == "line ends":
        install.template_file.write_bytes(install.template_file.read_bytes().replace(b"\r", b""))
    else:
        install.performance = None
    install.register()
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES) == [STARTED, LOADED, line, *SPAWN, ENDED]
    assert status_messages(receiver) == ["DesktopMonitor.ini is tampered[md5 mismatch]"]
    assert tool_ran(install)


def test_template_without_functions_ends_the_pass(install, receiver):
    install.write_template("[DCM]\nTid=17\nTver=3\nCount=0\n")
    install.register()
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES)[-2:] == [
        ("WM", "INFO", "", "", "No object to monitor"), ENDED]
    assert status_messages(receiver) == ["No object to monitor"]
