"""Fixtures of the whole-pass tests: the Wine prefix of this run and fresh installations.

QUINTREL_WINE_ARCH chooses the prefix (win32 or win64); CTest runs the files once for each.
"""
import os
import re
import sys
import pathlib

import pytest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
import quintrel_wine  # noqa: E402
import test_ca  # noqa: E402
from https_receiver import Receiver  # noqa: E402

ARCH = os.environ.get("QUINTREL_WINE_ARCH", "win32")
STANDINS = quintrel_wine.BUILD / "tests" / "e2e" / "standins"


@pytest.fixture(scope="session")
def wine():
    w = quintrel_wine.Wine(ARCH)
    w.make()
    return w


@pytest.fixture
def install(wine, receiver, request):
    """A fresh installation whose "ServerHost" names the test's receiver."""
    name = re.sub(r"[^A-Za-z0-9]+", "_", request.node.name)[:60]
    inst = quintrel_wine.Installation(wine, wine.drive_c / "qtest" / f"{ARCH}_{name}")
    inst.server_host = receiver.address
    inst.register()
    yield inst
    inst.unregister()


@pytest.fixture
def standins():
    return STANDINS


def status_messages(receiver):
    """The errdesc of every status document the receiver got."""
    found = []
    for request in receiver.requests:
        body = request["body"].decode("latin-1")
        if request["path"] == "/tfr_wpdcmsccdskmonins.asp":
            found.append(re.search("<errdesc>(.*)</errdesc>", body).group(1))
    return found


@pytest.fixture(scope="session")
def tls(wine):
    """The test certificates; the test CA is trusted by the prefix, the other one is not."""
    certs = test_ca.ensure(quintrel_wine.BUILD / "test-ca")
    trust = quintrel_wine.BUILD / "tools" / "trust_ca.exe"
    assert wine.run(trust, wine.windows_path(certs["ca"])) == 0
    return certs


@pytest.fixture
def receiver(tls):
    """A running HTTPS receiver with a certificate the prefix trusts."""
    r = Receiver(*tls["server"]).start()
    yield r
    r.stop()
