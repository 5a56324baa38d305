"""Complete passes with the real companions and the local receiver: the alert as the server
receives it, the four-hour rule with changed verdicts, and the archive when the server fails."""
import re

from conftest import status_messages

HEAD = re.compile(r"<wpdcmmonalert><regid>12345</regid><templid ver=\"1\" tid=\"1\" />"
                  r"<scandatetime>\d\d/\d\d/\d{4} \d\d:\d\d:\d\d</scandatetime>"
                  r"<regtype>1</regtype><fndata>")
ELEMENT = re.compile(r"<fn scrid=\"([ \d]{4,})\"  fnid =\"([ \d]{4,})\" thdefine=\"([ \d-]{4,})\" "
                     r"thval=\"([ \d-]{4,})\" inst=\"([^\"]*)\"  osdrv=\"(\d)\" "
                     r"status=\"(SUCCESS|ERROR|NOT AVAILABLE)\" />")


def alerts(receiver):
    return [r for r in receiver.requests if r["path"] == "/tfr_wpdcmmonalert.asp"]


def elements(document):
    head = HEAD.match(document)
    assert head, document
    assert document.endswith("</fndata></wpdcmmonalert>")
    body = document[head.end():-len("</fndata></wpdcmmonalert>")]
    found = ELEMENT.findall(body)
    assert "".join(m.group(0) for m in ELEMENT.finditer(body)) == body
    return found


def test_first_pass_sends_the_alert_and_the_next_one_waits(install, receiver):
    assert install.run_pass() == 0
    [alert] = alerts(receiver)
    assert alert["query"] == "mmid=m-77&sid=s-9&rid=12345&rty=1"
    found = elements(alert["body"].decode())
    assert [(f[0].strip(), f[1].strip(), f[2].strip(), f[4], f[5]) for f in found] == [
        ("101", "1", "10", "C", "1"), ("102", "3", "90", "_Total", "0"),
        ("103", "4", "100", "_Total", "0")]
    assert status_messages(receiver) == []
    assert "LastExecute=" in install.config_file.read_text()
    assert install.log_messages("----")[-1][2] == "Application Ended"

    assert install.run_pass() == 0  # nothing changed and four hours have not passed
    assert len(alerts(receiver)) == 1
    assert install.log_messages("Start_web_post") == []


def test_changed_verdict_sends_at_once(install, receiver):
    assert install.run_pass() == 0
    text = install.config_file.read_text()
    path = r"[\Memory\Available MBytes]"
    section = text.index(path)
    error = text.index("Error=", section)
    flipped = "1" if text[error + 6] == "0" else "0"
    install.config_file.write_text(text[:error + 6] + flipped + text[error + 7:])
    assert install.run_pass() == 0
    assert len(alerts(receiver)) == 2


def test_failed_posts_archive_the_alert(install, receiver):
    receiver.status = 503
    assert install.run_pass() == 0
    assert len(alerts(receiver)) == 3
    archived = install.archived()
    [name] = [n for n in archived if n.startswith("wpdcmmonalert_N_")]
    assert re.fullmatch(r"wpdcmmonalert_N_\d{14}\.xml", name)
    assert archived[name] == alerts(receiver)[0]["body"].decode()
    assert install.log_messages("Start_web_post")[-1] == (
        "Start_web_post", "INFO", "web Post", "", "Success")
