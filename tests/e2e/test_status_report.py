"""Status reports of whole passes through the real web-post library: the document as the
server receives it, the four-hour stamp, and the archive copy when the server fails."""
import re

from conftest import status_messages

DOCUMENT = re.compile(
    r"<wpdcmsccdskmonins><regid>12345</regid><scandt>(\d\d)/(\d\d)/(\d{4}) "
    r"(\d\d):(\d\d):(\d\d)</scandt><status>0</status><exever>1\.1\.0\.11</exever>"
    r"<errcode>2</errcode><errdesc>Missing SITE ID</errdesc></wpdcmsccdskmonins>$")


def test_report_reaches_the_server_with_the_identity_in_the_query(install, receiver):
    install.register(SITEID=None)
    assert install.run_pass() == 0
    [request] = receiver.requests
    assert request["path"] == "/tfr_wpdcmsccdskmonins.asp"
    # The values after the missing one are not read: they stay empty.
    assert request["query"] == "mmid=m-77&sid=&rid=12345&rty="
    assert DOCUMENT.match(request["body"].decode())
    assert re.fullmatch(r"-?\d+", install.config_file.read_text().split("LastError=")[1].strip())
    assert install.archived() == {}


def test_failed_posts_leave_the_document_in_the_archive(install, receiver):
    receiver.status, receiver.body = 500, b"down for maintenance"
    install.register(SITEID=None)
    assert install.run_pass() == 0
    assert len(receiver.requests) == 3
    [(name, content)] = install.archived().items()
    assert re.fullmatch(r"wpdcmsccdskmonins_N_Quintrel\d{14}\.xml", name)
    assert content == receiver.requests[0]["body"].decode()
    lines = install.log_messages("Start_web_post")
    assert lines[0][:4] == ("Start_web_post", "INFO", "web Post", "Filename=")
    assert lines[0][4].endswith("\\ZIVPostLogs\\" + name)
    assert lines[1] == ("Start_web_post", "INFO", "web Post", "", "Success")
    errors = [m for m in install.log_messages("directWeb_Post") if m[3] == "Error Code"]
    assert [m[4] for m in errors] == ["500"] * 3


def test_server_in_maintenance_counts_as_a_failed_post(install, receiver):
    receiver.body = b"<r umaint='0'/>"
    install.register(TYPE=None)
    assert install.run_pass() == 0
    assert status_messages(receiver) == ["Missing TYPE "] * 3
    assert len(install.archived()) == 1
