"""Whole passes over bad input: templates, registry values, config.ini, companions that answer
in the wrong shape, unwritable files. Every pass exits 0, ends its log with "Application
Ended", loses no document and leaves config.ini readable for the next pass."""
import configparser
import random
import shutil
import subprocess

import pytest

from conftest import status_messages


def assert_clean(install, code):
    assert code == 0
    lines = install.log_messages()
    if lines:
        assert lines[-1][2] == "Application Ended"
        assert not [m for m in lines if m[4] == "Terminated unexpectedly"]
    if install.config_file.exists():
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.read_string(install.config_file.read_bytes().decode("latin-1"))


def two_passes(install):
    """A pass and the next one, both clean: the first leaves nothing the second trips on."""
    assert_clean(install, install.run_pass())
    assert_clean(install, install.run_pass())


def use(install, standins, library, script_name, script):
    target = {"provider_standin.dll": "tovradc.dll", "lorsend_standin.dll": "Lorsend.dll"}
    shutil.copy(standins / library, install.folder / target[library])
    (install.folder / script_name).write_text(script)


@pytest.mark.parametrize("name", ["random bytes", "many sections", "long values",
                                  "count above 32 bits", "count below 32 bits"])
def test_bad_templates(install, name):
    rng = random.Random(name)
    if name == "random bytes":
        text = bytes(rng.randrange(256) for _ in range(8192)).decode("latin-1")
    elif name == "many sections":
        text = "[DCM]\nTid=1\nTver=1\nCount=10000\n" + "".join(
            f"[DCM{i}]\nId=9\nscriptid={i}\n" for i in range(1, 10001))
    elif name == "long values":
        long = "".join(chr(rng.randrange(0x80, 0x100)) for _ in range(254))
        text = (f"[DCM]\nTid={long}\nTver={long}\nCount=2\n[DCM1]\nId=1\nscriptid=1\n"
                f"OSthreshold={long}\nOScondition={long}\nNOSCount=1\nDrv1={long}\n"
                f"Cond1={long}\nThreshold1={long}\n[DCM2]\nId=3\nscriptid=2\n"
                f"OSthreshold=1\nOScondition={'<' * 200}\n")
    else:
        count = "2147483648" if name == "count above 32 bits" else "-2147483649"
        text = f"[DCM]\nTid=1\nTver=1\nCount={count}\n[DCM1]\nId=4\nscriptid=1\n" \
               "OSthreshold=1\nOScondition=<\n"
    install.write_template(text)
    install.register()
    two_passes(install)


@pytest.mark.parametrize("values", [
    {"InstallationPath": None, "REGID": 12345},
    {"REGID": 12345, "TYPE": ("multi", ["1", "2"])},
    {"performance": b"\x41" * 256},
    {"ServerHost": ("multi", ["127.0.0.1:1", "x"])},
    {"MEMBERID": b"m-77"},
], ids=["path-missing-dword-id", "dword-and-multi", "binary-256", "multi-host", "binary-id"])
def test_registry_values_of_other_types(install, values):
    values = dict(values)
    if values.get("InstallationPath", "") is None:
        values["InstallationPath"] = install.install_path.encode("latin-1")  # REG_BINARY
    install.register(**values)
    two_passes(install)
    if "performance" in values:
        assert ("WM", "ERROR", "", "korvpath", "Missing performance key") in install.log_messages()


def test_garbage_in_config_ini(install):
    install.config_file.write_bytes(
        b"[avg]\n3=,,,,abc,99999999999999999,-,\xff\xfe,1e400,\n4=" + b"9" * 300 + b"\n"
        b"[webpost]\nLastError=-99999999999999999999\nLastExecute=\xff\n"
        b"[\\LogicalDisk(C:)\\% Free Space]\nError=\x01\x02\n")
    two_passes(install)
    stored = configparser.ConfigParser(interpolation=None, strict=False)
    stored.read_string(install.config_file.read_bytes().decode("latin-1"))
    for function in ("3", "4"):
        assert stored["avg"][function].count(",") == 12


@pytest.mark.parametrize("shape", ["not-array", "two-dimensions", "lower-bound-1", "integers",
                                   "fewer", "more", "values-short"])
def test_provider_answers_of_the_wrong_shape(install, standins, receiver, shape):
    use(install, standins, "provider_standin.dll", "provider_script.txt", f"shape={shape}\n")
    two_passes(install)
    assert [r for r in receiver.requests if r["path"] == "/tfr_wpdcmmonalert.asp"]


@pytest.mark.parametrize("script", ["3:\n0:\n0:\n", "8:umaint='1'\n3:\n3:\n", "0:\n8:\n3:\n"],
                         ids=["integer-status", "integer-error", "integer-description"])
def test_web_post_library_with_replies_that_are_no_texts(install, standins, script):
    use(install, standins, "lorsend_standin.dll", "lorsend_script.txt", script)
    two_passes(install)
    posts = (install.folder / "lorsend_posts.txt").read_text().splitlines()
    archived = set(install.archived().values())
    accepted = script.startswith("3:")  # a status reply without error code: accepted
    for document in posts:
        assert accepted or document in archived


def chattr(flag, path):
    return subprocess.run(["chattr", flag, str(path)], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def test_unwritable_config_ini_and_archive_folder(install, receiver):
    receiver.status = 500
    install.config_file.write_text("[webpost]\n")
    install.archive_folder.mkdir()
    if not (chattr("+i", install.config_file) and chattr("+i", install.archive_folder)):
        chattr("-i", install.config_file)
        pytest.skip("this file system cannot make files immutable")
    try:
        two_passes(install)
        lines = install.log_messages("Start_web_post")
        assert ("Start_web_post", "ERROR", "web Post", "Archive not written", "error 5") in lines \
            or any(line[3] == "Archive not written" for line in lines)
        assert install.config_file.read_text() == "[webpost]\n"
    finally:
        chattr("-i", install.config_file)
        chattr("-i", install.archive_folder)


def test_provider_that_crashes_still_ends_the_pass_with_exit_code_0(install, standins):
    use(install, standins, "provider_standin.dll", "provider_script.txt", "crash\n")
    assert install.run_pass() == 0
    assert install.log_messages()[-2:] == [
        ("WM", "ERROR", "", "", "Terminated unexpectedly"),
        ("----", "----", "Application Ended", "----", "----")]
    use(install, standins, "provider_standin.dll", "provider_script.txt", "")
    assert install.run_pass() == 0  # the mutex went with the crashed process
    assert install.log_messages()[-1][2] == "Application Ended"
