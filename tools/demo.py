"""make demo: installs the built agent into a demo Wine prefix and runs a monitoring pass.

The prefix lives in build/wine/demo and is made once; each demo starts from a fresh
installation folder C:\\Quintrel\\ with the identity values a fleet installer would write.
"""
import sys

import quintrel_wine


def show_log(installation, since=0):
    lines = installation.log_text().split("\n")
    for line in lines[1 + since:]:
        if line:
            print("   " + line.replace("\t", " | "))
    return len([line for line in lines[1:] if line])


def main():
    wine = quintrel_wine.Wine("win32", prefix=quintrel_wine.BUILD / "wine" / "demo")
    print("== Wine prefix", wine.prefix)
    wine.make()
    try:
        inst = quintrel_wine.Installation(wine, wine.drive_c / "Quintrel")
        inst.register()
        print(f"== installed build/dist into {inst.install_path}")
        for name, value in inst.values().items():
            print(f"   HKLM\\SOFTWARE\\VUREZU  {name} = {value}")
        print("== pass 1")
        code = inst.run_pass()
        print(f"   exit code {code}; application log {inst.log_file}:")
        seen = show_log(inst)
        print("== pass 2, with REGID removed from the registry")
        inst.register(REGID=None)
        code = inst.run_pass()
        print(f"   exit code {code}; new log lines:")
        show_log(inst, seen)
        inst.register()
    finally:
        wine.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
