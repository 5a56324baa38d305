"""Whole passes of the run skeleton: installation lookup, identity checks, the single-instance
guard and the logger, as the application log shows them."""
import re
import shutil
import time

import pytest

from conftest import ARCH, status_messages

PASS_MODULES = ("----", "WM")  # the run sequence's own lines
STARTED = ("----", "----", "Application Started", "----", "----")
ENDED = ("----", "----", "Application Ended", "----", "----")
LINE = re.compile(r"^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d (AM|PM)\t\d{6} [^\t]*\t[^\t]*\t[^\t]*\t"
                  r"[^\t]*\t[^\t]*$")


def test_pass_writes_header_start_and_end_lines(install):
    assert install.run_pass() == 0
    text = install.log_text()
    assert text.startswith("#Fields:\tdtime\tSession User Name\tmodule\ttype\tval1\tval2\tval3\n")
    assert "\r" not in text and text.endswith("\n")
    lines = text.split("\n")[1:-1]
    assert all(LINE.match(line) for line in lines), lines
    messages = install.log_messages()
    assert messages[0] == STARTED and messages[-1] == ENDED
    assert [m for m in messages if m[1] == "ERROR"] == []


def test_second_pass_appends_without_a_second_header(install):
    assert install.run_pass() == 0
    assert install.run_pass() == 0
    assert install.log_text().count("#Fields:") == 1
    assert install.log_messages("----") == [STARTED, ENDED, STARTED, ENDED]


@pytest.mark.parametrize("value", [None, ""])
def test_without_installation_path_the_pass_leaves_no_trace(install, receiver, value):
    install.register(InstallationPath=value)
    assert install.run_pass() == 0
    assert not (install.folder / "ApplicationLog").exists()
    assert receiver.requests == []


@pytest.mark.parametrize("missing, message", [
    ("REGID", "Missing REG ID"),
    ("MEMBERID", "Missing member ID"),
    ("SITEID", "Missing SITE ID"),
    ("TYPE", "Missing TYPE "),
])
def test_missing_identity_value_ends_the_pass_and_is_reported(install, receiver, missing,
                                                              message):
    install.register(**{missing: None})
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES) == [
        STARTED, ("WM", "ERROR", "", "korvpath", message), ENDED]
    assert status_messages(receiver) == [message]
    # A second failing pass within four hours is logged but not reported again.
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES)[-2] == ("WM", "ERROR", "", "korvpath", message)
    assert status_messages(receiver) == [message]


def test_first_missing_value_wins_over_an_empty_one(install, receiver):
    install.register(REGID="", SITEID=None)
    assert install.run_pass() == 0
    assert ("WM", "ERROR", "", "korvpath", "Missing SITE ID") in install.log_messages()
    assert status_messages(receiver) == ["Missing SITE ID"]


@pytest.mark.parametrize("empty", ["REGID", "TYPE"])
def test_empty_identity_value_is_invalid(install, receiver, empty):
    install.register(**{empty: ""})
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES) == [
        STARTED, ("WM", "ERROR", "", "korvpath", "Invalid KORV initialize ID "), ENDED]
    assert status_messages(receiver) == ["Invalid KORV initialize ID "]


def test_identity_values_of_other_types_are_read_as_text(install):
    install.register(REGID=b"12345\0", TYPE=("multi", ["1", "2"]))
    assert install.run_pass() == 0
    assert install.log_messages("WM") == []


def test_second_instance_only_says_so(install, receiver, standins, tmp_path):
    ready, release = tmp_path / "ready", tmp_path / "release"
    holder = install.wine.start(standins / "hold_mutex.exe", install.wine.windows_path(ready),
                                install.wine.windows_path(release))
    try:
        deadline = time.time() + 60
        while not ready.exists():
            assert holder.poll() is None, "the mutex holder ended early"
            assert time.time() < deadline
            time.sleep(0.05)
        assert install.run_pass() == 0
    finally:
        release.touch()
        holder.wait(timeout=60)
    assert install.log_messages() == [
        ("WM", "ERROR", "", "", "Another instance is running"), ENDED]
    assert receiver.requests == []
    # The mutex went with the holder: the next pass runs.
    assert install.run_pass() == 0
    assert install.log_messages("----")[-2:] == [STARTED, ENDED]


def test_without_the_logger_nothing_is_logged_and_the_loss_is_reported(install, receiver):
    (install.folder / "Rovanta.dll").unlink()
    assert install.run_pass() == 0
    assert (install.folder / "ApplicationLog" / "Quintrel").is_dir()
    assert not install.log_file.exists()
    assert status_messages(receiver) == ["Ketrova.dll Missing"]


def test_without_the_logger_identity_failures_come_first(install, receiver):
    (install.folder / "Rovanta.dll").unlink()
    install.register(MEMBERID=None)
    assert install.run_pass() == 0
    assert status_messages(receiver) == ["Missing member ID"]


def test_logger_without_its_export_logs_nothing(install, receiver, standins):
    shutil.copy(standins / "no_exports.dll", install.folder / "Rovanta.dll")
    assert install.run_pass() == 0
    assert not install.log_file.exists()
    assert status_messages(receiver) == ["Ketrova.dll Missing"]


def test_logger_is_loaded_beside_the_executable_not_from_the_installation(install):
    program = install.folder / "bin"
    program.mkdir()
    for name in ("Quintrel.exe", "Rovanta.dll", "tovradc.dll"):
        shutil.move(install.folder / name, program / name)
    assert install.run_pass(executable=program / "Quintrel.exe") == 0
    assert ("InitDLL", "INFO", "", "Success", "Tovra dll Loaded") in install.log_messages()
    assert install.log_messages("WM") == []
    assert not (program / "ApplicationLog").exists()


@pytest.mark.skipif(ARCH != "win64", reason="only a 64-bit system has two registry views")
def test_under_wow64_the_agent_reads_the_32_bit_view(install):
    install.unregister()
    install.register(view=64)  # a 64-bit installer's key: invisible to the 32-bit agent
    try:
        assert install.run_pass() == 0
        assert not install.log_file.exists()
        install.register(view=32)
        assert install.run_pass() == 0
        assert install.log_messages("----") == [STARTED, ENDED]
    finally:
        install.wine.import_registry(r"[-HKEY_LOCAL_MACHINE\SOFTWARE\VUREZU]" + "\n\n", view=64)


def test_without_the_provider_the_pass_ends_after_reporting_it(install, receiver):
    (install.folder / "tovradc.dll").unlink()
    assert install.run_pass() == 0
    assert install.log_messages(*PASS_MODULES, "InitDLL") == [
        STARTED, ("InitDLL", "ERROR", "", "Failure", "Tovra dll Missing"), ENDED]
    assert status_messages(receiver) == ["Tovra dll Missing"]


def test_provider_without_its_export_is_reported_as_corrupted(install, receiver, standins):
    shutil.copy(standins / "no_exports.dll", install.folder / "tovradc.dll")
    assert install.run_pass() == 0
    assert install.log_messages("InitDLL") == [
        ("InitDLL", "INFO", "", "Success", "Tovra dll Loaded"),
        ("InitDLL", "ERROR", "", "Failure", "Tovra dll corrupted")]
    assert status_messages(receiver) == ["Tovra dll corrupted"]
