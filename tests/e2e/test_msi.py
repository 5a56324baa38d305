"""The Windows Installer package under Wine, in a prefix of its own made afresh for the run:
the silent install with its properties, the installed agent's whole pass, the upgrade that
keeps the workstation's state, the uninstall, and the install refused without an identity."""
import datetime
import hashlib
import re
import shutil
import subprocess
import xml.etree.ElementTree as ET

import pytest

import quintrel_wine
from conftest import ARCH, status_messages

BUILD = quintrel_wine.BUILD
AGENT_KEY = r"HKLM\SOFTWARE\VUREZU"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
IDENTITY = {"REGID": "12345", "MEMBERID": "m-77", "SITEID": "s-9", "TYPE": "1"}
# A user name with a backslash and a password with a blank and an ampersand travel through
# the helper's command line unchanged.
PROXY = {"PROXYIP": "10.1.2.3", "PROXYPORT": "3128", "PROXYUSERNAME": r"CORP\fleet",
         "PROXYPASSWORD": "s3cr&t pass"}
PROGRAM_FILES = ["Ardo/MonitorTemplate/DesktopMonitor.ini", "Ardo/Stavrik.exe", "Lorsend.dll",
                 "Quintrel.exe", "QuintrelSetup.exe", "Rovanta.dll", "tovradc.dll"]
# Installed name -> name in build/dist (one folder on Windows, two names on Linux).
SHIPPED_PROGRAMS = {"Quintrel.exe": "Quintrel.exe", "Rovanta.dll": "Rovanta.dll",
                    "tovradc.dll": "tovradc.dll", "Lorsend.dll": "Lorsend.dll",
                    "QuintrelSetup.exe": "QuintrelSetup.exe", "Ardo/Stavrik.exe": "ardo/Stavrik.exe"}
# msiexec's ERROR_INSTALL_FAILURE (1603), of which Wine hands back the low byte.
INSTALL_FAILED = 1603 & 0xFF
TASK_NS = {"t": "http://schemas.microsoft.com/windows/2004/02/mit/task"}


def project_version():
    cache = (BUILD / "CMakeCache.txt").read_text()
    return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache, re.M).group(1)


def next_patch(version):
    major, minor, patch = version.split(".")
    return f"{major}.{minor}.{int(patch) + 1}"


CURRENT = project_version()
NEWER = next_patch(CURRENT)
PACKAGE = BUILD / "dist" / f"Quintrel-{CURRENT}.msi"
NEWER_PACKAGE = BUILD / "tests" / "e2e" / "packages" / f"Quintrel-{NEWER}.msi"
REBUILT_PACKAGE = BUILD / "tests" / "e2e" / "packages" / "rebuilt" / f"Quintrel-{CURRENT}.msi"


@pytest.fixture(scope="session")
def wine():
    """A prefix of this file's own, made afresh for the run, so that nothing installed before
    can help or hinder the package (it replaces the shared prefix of conftest here, also for
    conftest's tls and receiver fixtures, which then trust the test CA in this prefix)."""
    w = quintrel_wine.Wine(ARCH, prefix=BUILD / "wine" / f"msi-{ARCH}")
    w.make_fresh()
    yield w
    w.stop()


def products(wine):
    """DisplayVersion of every installed Quintrel product, by product code."""
    _, text = wine.output("reg", "query", UNINSTALL_KEY, "/s")
    found, key = {}, None
    for line in text.splitlines():
        if line.startswith("HKEY_"):
            key = line.rsplit("\\", 1)[1]
        elif re.match(r"^    DisplayName    REG_SZ    Quintrel$", line):
            found[key] = None
        elif key in found and line.startswith("    DisplayVersion    REG_SZ    "):
            found[key] = line.split("    ")[-1]
    return found


@pytest.fixture
def installer(wine):
    """Runs msiexec in the prefix. Afterwards every Quintrel product is removed, and so is
    the state that an uninstall leaves by design, so that each case starts from nothing."""

    def install(package=PACKAGE, **properties):
        return wine.msiexec("/i", wine.windows_path(package), "/qn",
                            *[f"{name}={value}" for name, value in properties.items()])

    yield install
    for product in products(wine):
        wine.msiexec("/x", product, "/qn")
    shutil.rmtree(wine.drive_c_path(expected_install_path()), ignore_errors=True)


def install_folder(wine):
    """The installation folder the package registered (Linux path), None without one."""
    values = wine.registry_values(AGENT_KEY)
    if not values or "InstallationPath" not in values:
        return None
    return wine.drive_c_path(values["InstallationPath"])


def expected_install_path():
    folder = "Program Files (x86)" if ARCH == "win64" else "Program Files"
    return f"C:\\{folder}\\Quintrel\\"


def files_under(folder):
    return sorted(str(p.relative_to(folder)) for p in folder.rglob("*") if p.is_file())


def stored_task(wine):
    """What Wine's Task Scheduler keeps of the agent's task (parsed), None without it."""
    tasks = wine.drive_c / "windows" / "system32" / "tasks"
    found = [p for p in tasks.iterdir() if p.name.lower() == "quintrel"] if tasks.exists() else []
    return ET.fromstring(found[0].read_bytes()) if found else None


def task_document(wine, folder):
    """The document the installed helper registers, as it writes it for review."""
    out = folder.parent / "task-review.xml"
    assert wine.run(folder / "QuintrelSetup.exe", "/task-xml", wine.windows_path(out)) == 0
    try:
        return ET.fromstring(out.read_bytes())
    finally:
        out.unlink()


def text_of(element, path):
    found = element.find(path, TASK_NS)
    return None if found is None else found.text


def package_table(package, table):
    """The rows of one table of the package, as msitools exports them."""
    done = subprocess.run(["msiinfo", "export", str(package), table], check=True,
                          capture_output=True, text=True)
    return [line.split("\t") for line in done.stdout.splitlines()[3:] if line]


def test_install_puts_the_agent_into_program_files_and_registers_it(wine, installer):
    assert installer(**IDENTITY, SERVERHOST="reports.example.com:8443") == 0
    values = wine.registry_values(AGENT_KEY)
    assert values == {"InstallationPath": expected_install_path(), **IDENTITY,
                      "ServerHost": "reports.example.com:8443",
                      "performance": values["performance"]}
    folder = install_folder(wine)
    assert files_under(folder) == PROGRAM_FILES
    for installed, built in SHIPPED_PROGRAMS.items():
        assert (folder / installed).read_bytes() == (BUILD / "dist" / built).read_bytes()
    assert list(products(wine).values()) == [CURRENT]
    if ARCH == "win64":  # a 32-bit agent looks in the 32-bit view, and so does the package
        assert wine.registry_values(AGENT_KEY, view=64) is None
        assert wine.registry_values(r"HKLM\SOFTWARE\WOW6432Node\VUREZU", view=64) == values


def test_installed_template_has_the_sealed_checksum(wine, installer):
    assert installer(**IDENTITY) == 0
    template = install_folder(wine) / "Ardo" / "MonitorTemplate" / "DesktopMonitor.ini"
    data = template.read_bytes()
    assert wine.registry_values(AGENT_KEY)["performance"] == hashlib.md5(data).hexdigest()
    assert data.count(b"\r\n") == data.count(b"\n") > 0  # Windows line ends, as sealed
    sections = re.findall(rb"^\[(\w+)\]\r$", data, re.M)
    assert sections == [b"DCM", b"DCM1", b"DCM2", b"DCM3"]
    assert re.findall(rb"^Id=(\d)\r$", data, re.M) == [b"1", b"3", b"4"]


def test_without_a_server_the_agents_own_default_is_recorded(wine, installer):
    assert installer(**IDENTITY) == 0
    assert wine.registry_values(AGENT_KEY)["ServerHost"] == "reports.quintrel.invalid"


@pytest.mark.parametrize("proxy, expected", [
    (PROXY, "[ProxySettings]\r\nProxyIP=10.1.2.3\r\nProxyPort=3128\r\n"
            "ProxyUserName=CORP\\fleet\r\nProxyPassword=s3cr&t pass\r\n"),
    ({"PROXYIP": "10.1.2.3"}, "[ProxySettings]\r\nProxyIP=10.1.2.3\r\nProxyPort=\r\n"
                              "ProxyUserName=\r\nProxyPassword=\r\n"),
    ({"PROXYPORT": "3128"}, None),  # no proxy address: no proxy
    ({}, None),
], ids=["all four", "address only", "port only", "none"])
def test_proxy_settings_are_written_when_a_proxy_is_given(wine, installer, proxy, expected):
    assert installer(**IDENTITY, **proxy) == 0
    settings = install_folder(wine) / "KorvMobile.ini"
    assert (settings.read_bytes().decode() if settings.exists() else None) == expected


def test_install_schedules_a_hidden_pass_every_five_minutes_as_system(wine, installer):
    before = datetime.datetime.now().replace(microsecond=0)
    assert installer(**IDENTITY) == 0
    folder = install_folder(wine)

    # What Wine's scheduler keeps: it drops the trigger, the account and the program.
    stored = stored_task(wine)
    assert stored is not None
    assert text_of(stored, "t:RegistrationInfo/t:Author") == "Quintrel"
    assert text_of(stored, "t:Settings/t:Hidden") == "true"
    assert text_of(stored, "t:Settings/t:MultipleInstancesPolicy") == "IgnoreNew"
    assert text_of(stored, "t:Settings/t:ExecutionTimeLimit") == "PT30M"

    # The whole document, as the helper hands it to the scheduler.
    task = task_document(wine, folder)
    trigger = task.find("t:Triggers/t:TimeTrigger", TASK_NS)
    assert text_of(trigger, "t:Repetition/t:Interval") == "PT5M"
    assert text_of(trigger, "t:Repetition/t:Duration") is None  # for as long as it exists
    start = datetime.datetime.fromisoformat(text_of(trigger, "t:StartBoundary"))
    assert before - datetime.timedelta(seconds=2) <= start <= datetime.datetime.now()
    assert text_of(task, "t:Principals/t:Principal/t:UserId") == "S-1-5-18"
    assert text_of(task, "t:Settings/t:Hidden") == "true"
    assert text_of(task, "t:Settings/t:MultipleInstancesPolicy") == "IgnoreNew"
    install_path = expected_install_path()
    assert text_of(task, "t:Actions/t:Exec/t:Command") == install_path + "Quintrel.exe"
    assert text_of(task, "t:Actions/t:Exec/t:WorkingDirectory") == install_path


def test_installed_agent_runs_a_whole_pass_and_the_alert_arrives(wine, installer, receiver):
    assert installer(**IDENTITY, SERVERHOST=receiver.address) == 0
    folder = install_folder(wine)
    assert wine.run(folder / "Quintrel.exe") == 0
    [alert] = [r for r in receiver.requests if r["path"] == "/tfr_wpdcmmonalert.asp"]
    assert alert["query"] == "mmid=m-77&sid=s-9&rid=12345&rty=1"
    body = alert["body"].decode()
    assert '<templid ver="1" tid="1" />' in body
    assert re.findall(r'scrid="\s*(\d+)"', body) == ["101", "102", "103"]
    assert status_messages(receiver) == []
    # The sealed template passed its check: the template tool was never started.
    assert not (folder / "Ardo" / "Stavrik.log").exists()
    log = (folder / "ApplicationLog" / "Quintrel" / "Quintrel.Log").read_bytes().decode()
    assert log.rstrip("\n").split("\n")[-1].split("\t")[3] == "Application Ended"


def test_upgrade_keeps_the_state_and_the_identity(wine, installer, receiver):
    assert installer(**IDENTITY, SERVERHOST=receiver.address, **PROXY) == 0
    folder = install_folder(wine)
    receiver.status = 503  # three failed posts: the alert goes to the archive
    assert wine.run(folder / "Quintrel.exe") == 0
    state = ["Ardo/MonitorTemplate/config.ini", "ApplicationLog/Quintrel/Quintrel.Log"]
    state += [f"ZIVPostLogs/{p.name}" for p in (folder / "ZIVPostLogs").iterdir()]
    assert len(state) == 3
    kept = {name: (folder / name).read_bytes() for name in state}
    values = wine.registry_values(AGENT_KEY)

    # A fleet-wide upgrade cannot know each workstation's identity: none is given.
    assert installer(NEWER_PACKAGE) == 0
    assert list(products(wine).values()) == [NEWER]
    assert {name: (folder / name).read_bytes() for name in state} == kept
    assert wine.registry_values(AGENT_KEY) == values
    # The proxy settings come with each install; this one gave none.
    assert files_under(folder) == sorted(PROGRAM_FILES + state)
    assert stored_task(wine) is not None

    assert installer(PACKAGE, **IDENTITY) == INSTALL_FAILED  # no downgrade
    assert list(products(wine).values()) == [NEWER]


def test_a_rebuild_of_the_same_version_replaces_the_installed_one(wine, installer):
    assert installer(**IDENTITY) == 0
    [first] = products(wine)
    assert installer(REBUILT_PACKAGE) == 0
    assert list(products(wine).values()) == [CURRENT]
    assert first not in products(wine)
    assert stored_task(wine) is not None


def test_uninstall_removes_the_package_and_keeps_the_state(wine, installer):
    assert installer(**IDENTITY, **PROXY) == 0
    folder = install_folder(wine)
    state = {"Ardo/MonitorTemplate/config.ini": b"[webpost]\r\nLastExecute=1\r\n",
             "ApplicationLog/Quintrel/Quintrel.Log": b"#Fields:\tdate\n",
             "ZIVPostLogs/wpdcmmonalert_N_01012030120000.xml": b"<wpdcmmonalert/>"}
    for name, content in state.items():
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        (folder / name).write_bytes(content)

    assert wine.msiexec("/x", wine.windows_path(PACKAGE), "/qn") == 0
    assert {name: (folder / name).read_bytes() for name in files_under(folder)} == state
    assert wine.registry_values(AGENT_KEY) is None
    assert stored_task(wine) is None
    assert products(wine) == {}


@pytest.mark.parametrize("missing", ["REGID", "MEMBERID", "SITEID", "TYPE"])
@pytest.mark.parametrize("how", ["left out", "empty"])
def test_install_without_an_identity_value_fails_and_leaves_nothing(wine, installer, missing,
                                                                    how):
    properties = dict(IDENTITY)
    if how == "empty":
        properties[missing] = ""
    else:
        del properties[missing]
    assert installer(**properties) == INSTALL_FAILED
    assert wine.registry_values(AGENT_KEY) is None
    assert not wine.drive_c_path(expected_install_path()).exists()
    assert stored_task(wine) is None
    assert products(wine) == {}


def test_each_missing_identity_value_has_a_message_naming_it():
    messages = {condition: text for condition, text in package_table(PACKAGE, "LaunchCondition")}
    for name in IDENTITY:
        assert messages[f"Installed OR {name}"].startswith(f"{name} is missing: "), name


def test_the_proxy_password_stays_out_of_the_installer_log():
    actions = {row[0]: int(row[1]) for row in package_table(PACKAGE, "CustomAction")}
    hide_target = 0x2000
    assert actions["WriteProxySettings"] & hide_target
    assert ["MsiHiddenProperties", "PROXYPASSWORD"] in package_table(PACKAGE, "Property")
