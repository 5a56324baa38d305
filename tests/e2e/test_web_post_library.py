"""The real web-post library Lorsend.dll under Wine against the local HTTPS receiver: what
arrives, how answers and failures come back, the proxy path and the time-out."""
import socket
import time

import pytest

import quintrel_wine
from connect_proxy import ConnectProxy
from conftest import STANDINS
from https_receiver import Receiver

LIBRARY = quintrel_wine.DIST / "Lorsend.dll"
VT_EMPTY, VT_BSTR = 0, 8


def post(wine, tmp_path, url, document, mode="N", proxy=("", "", "", ""), timeout=120):
    """Calls WebPostData once; returns {reply: (VARIANT type, text)}."""
    doc = tmp_path / "document.xml"
    doc.write_bytes(document)
    out = tmp_path / "replies.txt"
    code = wine.run(STANDINS / "lorsend_post.exe", wine.windows_path(LIBRARY),
                    wine.windows_path(out), url, wine.windows_path(doc), mode, *proxy,
                    timeout=timeout)
    assert code == 0
    replies = {}
    for line in out.read_text().splitlines():
        name, vt, text = (line.split(" ") + [""])[:3]
        replies[name] = (int(vt), bytes.fromhex(text).decode("utf-8"))
    return replies


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def test_document_arrives_byte_for_byte(wine, receiver, tmp_path):
    document = "<wpdcmmonalert><regid>12345</regid><x a=\"é €\"/></wpdcmmonalert>".encode()
    receiver.body = "umaint='1' ok ü".encode()
    url = f"https://{receiver.address}/tfr_wpdcmmonalert.asp?mmid=m&sid=s&rid=r&rty=1"
    replies = post(wine, tmp_path, url, document)
    assert replies == {"status": (VT_BSTR, "umaint='1' ok ü"), "errorcode": (VT_EMPTY, ""),
                       "errordesc": (VT_EMPTY, "")}
    [request] = receiver.requests
    assert request["body"] == document
    assert request["path"] == "/tfr_wpdcmmonalert.asp"
    assert request["query"] == "mmid=m&sid=s&rid=r&rty=1"
    assert request["headers"]["Content-Type"] == "text/xml; charset=utf-8"


def test_http_error_status_gives_code_reason_and_body(wine, receiver, tmp_path):
    receiver.status, receiver.body = 500, b"server trouble"
    replies = post(wine, tmp_path, f"https://{receiver.address}/x", b"<a/>")
    assert replies == {"status": (VT_BSTR, "server trouble"), "errorcode": (VT_BSTR, "500"),
                       "errordesc": (VT_BSTR, "Internal Server Error")}


def assert_transport_failure(replies):
    assert replies["status"] == (VT_EMPTY, "")
    code_type, code = replies["errorcode"]
    assert code_type == VT_BSTR and code.isdigit() and int(code) != 0
    desc_type, desc = replies["errordesc"]
    assert desc_type == VT_BSTR and desc and not desc.startswith("Error ")
    return int(code)


def test_untrusted_certificate_is_refused(wine, tls, tmp_path):
    untrusted = Receiver(*tls["untrusted_server"]).start()
    try:
        replies = post(wine, tmp_path, f"https://{untrusted.address}/x", b"<a/>")
    finally:
        untrusted.stop()
    assert_transport_failure(replies)
    assert untrusted.requests == []


def test_refused_connection(wine, tmp_path):
    replies = post(wine, tmp_path, f"https://127.0.0.1:{free_port()}/x", b"<a/>")
    assert assert_transport_failure(replies) == 12029  # ERROR_WINHTTP_CANNOT_CONNECT


def test_only_https_is_spoken(wine, receiver, tmp_path):
    replies = post(wine, tmp_path, f"http://{receiver.address}/x", b"<a/>")
    assert assert_transport_failure(replies) == 12006  # ERROR_WINHTTP_UNRECOGNIZED_SCHEME
    assert receiver.requests == []


def test_post_through_an_open_proxy(wine, receiver, tmp_path):
    proxy = ConnectProxy().start()
    try:
        replies = post(wine, tmp_path, f"https://{receiver.address}/x", b"<a/>",
                       proxy=(proxy.host, str(proxy.port), "", ""))
    finally:
        proxy.stop()
    assert replies["status"] == (VT_BSTR, "umaint='1'")
    assert proxy.requests[0][0] == f"CONNECT {receiver.address} HTTP/1.1"
    assert len(receiver.requests) == 1


def test_proxy_credentials_never_reach_the_server(wine, receiver, tmp_path):
    proxy = ConnectProxy(credentials=("fleet", "pa55word")).start()
    try:
        replies = post(wine, tmp_path, f"https://{receiver.address}/x", b"<a/>",
                       proxy=(proxy.host, str(proxy.port), "fleet", "pa55word"))
    finally:
        proxy.stop()
    if replies["errorcode"][0] == VT_EMPTY:
        # Windows answers the proxy's challenge on the CONNECT.
        assert any(auth for _, auth in proxy.requests)
        assert replies["status"] == (VT_BSTR, "umaint='1'")
    else:
        # Wine 8 does not authenticate a CONNECT: the post fails cleanly.
        assert replies["errorcode"][1].isdigit()
        assert receiver.requests == []
    for request in receiver.requests:
        assert "Proxy-Authorization" not in request["headers"]
        assert b"pa55word" not in request["body"]


def test_silent_server_is_given_up_after_the_time_out(wine, receiver, tmp_path):
    receiver.hang = True
    started = time.monotonic()
    replies = post(wine, tmp_path, f"https://{receiver.address}/x", b"<a/>", timeout=90)
    waited = time.monotonic() - started
    assert_transport_failure(replies)
    assert 25 <= waited <= 75, waited
