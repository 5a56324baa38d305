"""A server that is down, silent past the time-out, failing or in maintenance: the alert is
archived every time and never lost."""
import pytest


@pytest.mark.parametrize("fault", ["down", "silent", "error 500", "maintenance"])
def test_alert_is_archived_whatever_the_server_does(install, receiver, fault):
    if fault == "down":
        receiver.stop()
    elif fault == "silent":
        receiver.hang = True
    elif fault == "error 500":
        receiver.status = 500
    else:
        receiver.body = b"umaint='0'"
    assert install.run_pass(timeout=300) == 0
    documents = [m[3] for m in install.log_messages("directWeb_Post")
                 if m[2] == "web Post" and m[3].startswith("<wpdcmmonalert>")]
    assert len(documents) == 3  # three tries of the same document
    assert set(install.archived().values()) == {documents[0]}
    assert install.log_messages()[-1][2] == "Application Ended"
