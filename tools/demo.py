"""make demo: the whole product at work in a demo Wine prefix.

Installs build/dist as a fleet installer would (C:\\Program Files\\Quintrel\\, the registry
values, a sealed monitoring template, "ServerHost" naming a local HTTPS receiver whose test CA
the prefix trusts), then runs passes with the real companions and shows what happened: the
log lines of each pass, the alert as the server received it, and the state in config.ini.
"""
import configparser
import re
import sys

import quintrel_wine
import test_ca
from https_receiver import Receiver

TEMPLATE = """[DCM]
Tid=17
Tver=3
Count=3
[DCM1]
Id=1
scriptid=501
OSthreshold=5
OScondition=<
NOSCount=0
[DCM2]
Id=3
scriptid=502
OSthreshold=100
OScondition=>
[DCM3]
Id=4
scriptid=503
OSthreshold=0
OScondition=>
"""
OPERATORS = {"501": "<", "502": ">", "503": ">"}
ELEMENT = re.compile(r'<fn scrid="\s*(\d+)"  fnid ="\s*(\d+)" thdefine="\s*(-?\d+)" '
                     r'thval="\s*(-?\d+)" inst="([^"]*)"  osdrv="(\d)" status="([^"]*)" />')
COUNTERS = {"1": "% free space", "2": "free megabytes", "3": "% processor time",
            "4": "available MBytes"}


def heading(text):
    print(f"\n== {text}")


def show_new_log_lines(installation, seen):
    lines = [line for line in installation.log_text().split("\n")[1:] if line]
    for line in lines[seen:]:
        print("   " + line.replace("\t", " | "))
    return len(lines)


def show_alert(document):
    print("   counter                 instance   value  threshold  operator  verdict")
    for scrid, fnid, threshold, value, inst, _, status in ELEMENT.findall(document):
        print(f"   {COUNTERS.get(fnid, fnid):22}  {inst:8} {value:>7}  {threshold:>9}  "
              f"{OPERATORS.get(scrid, '?'):^8}  {status}")


def show_config(installation):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read_string(installation.config_file.read_bytes().decode("latin-1"))
    for section in parser.sections():
        for key, value in parser[section].items():
            print(f"   [{section}] {key} = {value}")


def run_pass(installation, seen, label):
    heading(label)
    code = installation.run_pass()
    print(f"   exit code {code}; the lines it logged:")
    return show_new_log_lines(installation, seen)


def main():
    wine = quintrel_wine.Wine("win32", prefix=quintrel_wine.BUILD / "wine" / "demo")
    heading(f"Wine prefix {wine.prefix}")
    wine.make()
    certs = test_ca.ensure(quintrel_wine.BUILD / "test-ca")
    trust = quintrel_wine.BUILD / "tools" / "trust_ca.exe"
    if wine.run(trust, wine.windows_path(certs["ca"])) != 0:
        print("could not trust the test CA in the demo prefix")
        return 1
    receiver = Receiver(*certs["server"]).start()
    try:
        inst = quintrel_wine.Installation(wine, wine.drive_c / "Program Files" / "Quintrel")
        inst.server_host = receiver.address
        inst.write_template(TEMPLATE)
        inst.register()
        heading(f"installed build/dist into {inst.install_path}")
        for name, value in inst.values().items():
            print(f"   HKLM\\SOFTWARE\\VUREZU  {name} = {value}")
        print(f"   local HTTPS receiver on https://{receiver.address}/ (test CA trusted)")

        seen = run_pass(inst, 0, "pass 1: every verdict is new, so the alert goes at once")
        alerts = [r for r in receiver.requests if r["path"] == "/tfr_wpdcmmonalert.asp"]
        if alerts:
            heading(f"the alert as the server received it ({alerts[-1]['path']}?"
                    f"{alerts[-1]['query']})")
            print("   " + alerts[-1]["body"].decode())
            show_alert(alerts[-1]["body"].decode())
        heading("state left in config.ini")
        show_config(inst)

        before = len(receiver.requests)
        seen = run_pass(inst, seen, "pass 2, right after: nothing changed, nothing is sent")
        print(f"   documents received by the server in pass 2: {len(receiver.requests) - before}")

        heading("pass 3: four hours later (LastExecute cleared), with the server down")
        receiver.stop()
        text = inst.config_file.read_text()
        inst.config_file.write_text(re.sub(r"LastExecute=.*\n", "", text))
        code = inst.run_pass()
        print(f"   exit code {code}; its archive lines:")
        for line in inst.log_text().split("\n")[1 + seen:]:
            if "Start_web_post" in line or "Error Code" in line:
                print("   " + line.replace("\t", " | "))
        for name, content in inst.archived().items():
            print(f"   archived {inst.archive_folder / name}:")
            print("   " + content)
    finally:
        receiver.stop()
        wine.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
