"""Test certificates made with openssl at test time, once per build tree (never committed).

A trusted test CA with a server certificate for 127.0.0.1 and localhost (Wine matches the host
against DNS entries only, so 127.0.0.1 is also a DNS entry), and a second, untrusted CA with
a certificate for the same names.
"""
import fcntl
import pathlib
import subprocess

NAMES = "subjectAltName=DNS:127.0.0.1,IP:127.0.0.1,DNS:localhost"


def _openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _authority(folder, stem, subject):
    if not (folder / f"{stem}.pem").exists():
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "3650",
                 "-subj", f"/CN={subject}", "-keyout", f"{stem}.key", "-out", f"{stem}.pem",
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)


def _server(folder, ca, stem):
    if not (folder / f"{stem}.pem").exists():
        _openssl("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                 "-keyout", f"{stem}.key", "-out", f"{stem}.csr", cwd=folder)
        (folder / f"{stem}.ext").write_text(NAMES + "\nextendedKeyUsage=serverAuth\n")
        _openssl("x509", "-req", "-in", f"{stem}.csr", "-CA", f"{ca}.pem", "-CAkey",
                 f"{ca}.key", "-CAcreateserial", "-days", "825", "-extfile", f"{stem}.ext",
                 "-out", f"{stem}.pem", cwd=folder)


def ensure(folder):
    """Makes the certificates in folder when missing; returns the paths by role."""
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    # Test runs of both prefixes start side by side: one makes the certificates, the other
    # waits for them.
    with open(folder / ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        _authority(folder, "ca", "Quintrel test CA")
        _server(folder, "ca", "server")
        _authority(folder, "untrusted-ca", "Untrusted test CA")
        _server(folder, "untrusted-ca", "untrusted-server")
    return {
        "ca": folder / "ca.pem",
        "server": (folder / "server.pem", folder / "server.key"),
        "untrusted_server": (folder / "untrusted-server.pem", folder / "untrusted-server.key"),
    }
