"""Whole passes through the measuring step: the real provider's values and the verdicts
kept in config.ini, a provider that answers nothing, and the regeneration's emptied slots."""
import configparser
import shutil

from conftest import status_messages

DISK = r"\LogicalDisk(C:)\% Free Space"
PROCESSOR = r"\Processor(_total)\% Processor Time"
MEMORY = r"\Memory\Available MBytes"


def config(install):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read_string(install.config_file.read_bytes().decode("latin-1"))
    return parser


def use_standin(install, standins, script):
    shutil.copy(standins / "provider_standin.dll", install.folder / "tovradc.dll")
    (install.folder / "provider_script.txt").write_text(script)


def test_real_counters_are_judged_and_remembered(install):
    assert install.run_pass() == 0
    present = [m for m in install.log_messages("InitDLL") if m[3] == "present value"]
    assert [m[2] for m in present] == [DISK, PROCESSOR, MEMORY]
    for _, _, _, _, value in present:
        assert 0 <= float(value)
    assert len(install.log_messages("Getval", "GetVal")) == 2 + 3 + 2  # query, status, avg
    stored = config(install)
    for path in (DISK, PROCESSOR, MEMORY):
        assert stored[path]["Error"] in ("0", "1")
    for function in ("3", "4"):
        slots = stored["avg"][function].split(",")
        assert len(slots) == 13 and slots[-1] == ""
        assert sum(1 for s in slots[:12] if s != "-1.00") == 1


def test_provider_without_an_answer_fails_the_query(install, receiver, standins):
    use_standin(install, standins, "empty\n")
    assert install.run_pass() == 0
    assert install.log_messages("WM")[-1] == ("WM", "ERROR", "Query failed", "Error code=", "")
    assert ("InitDLL", "ERROR", "", "Query dll", "No data retrieved") in install.log_messages()
    assert status_messages(receiver) == ["Query failed. No Data Retrieved."]


def test_request_carries_the_template_order(install, standins):
    use_standin(install, standins, "0\t5\n-2147481647\t\n0\t12\n")
    assert install.run_pass() == 0
    request = (install.folder / "provider_request.txt").read_text().splitlines()
    assert request == [DISK, PROCESSOR, MEMORY]
    assert ("Getval", "INFO", PROCESSOR, "", "NOT AVAILABLE") in install.log_messages()
    assert config(install)[PROCESSOR]["Error"] == "2"
    assert config(install)[DISK]["Error"] == "0"  # 5 < 10: the alarm is met


def test_regeneration_empties_the_current_slot_of_processor_and_memory(install):
    full = "50.00," * 12
    install.config_file.write_text(f"[avg]\n3={full}\n4={full}\n5={full}\n")
    install.performance = "0" * 32
    install.register()
    assert install.run_pass() == 0
    stored = config(install)["avg"]
    for function in ("3", "4"):
        slots = stored[function].split(",")[:12]
        assert slots.count("-1.00") == 1 and slots.count("50.00") == 11
    assert stored["5"] == full
