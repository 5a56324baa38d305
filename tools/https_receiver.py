"""A small HTTPS receiver standing in for the management server (tests and demo).

It stores every request it receives (path, query, headers, body) and answers with a
configurable status and body (default 200 and "umaint='1'"), or does not answer at all.
Run alone: python3 tools/https_receiver.py --cert C --key K [--port N] [--store DIR]
"""
import argparse
import http.server
import pathlib
import ssl
import threading
import time
import urllib.parse


class Receiver:
    def __init__(self, certfile, keyfile, host="127.0.0.1", port=0, store=None):
        self.requests = []
        self.status = 200
        self.reason = None
        self.body = b"umaint='1'"
        self.hang = False
        self.store = pathlib.Path(store) if store else None
        self._released = threading.Event()
        receiver = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_POST(self):
                length = int(self.headers.get("Content-Length", "0"))
                body = self.rfile.read(length)
                url = urllib.parse.urlsplit(self.path)
                receiver._record({
                    "path": url.path, "query": url.query,
                    "params": urllib.parse.parse_qs(url.query, keep_blank_values=True),
                    "headers": dict(self.headers.items()), "body": body})
                if receiver.hang:
                    receiver._released.wait(300)
                    return
                self.send_response(receiver.status, receiver.reason)
                self.send_header("Content-Type", "text/plain; charset=utf-8")
                self.send_header("Content-Length", str(len(receiver.body)))
                self.end_headers()
                self.wfile.write(receiver.body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer((host, port), Handler)
        self.server.daemon_threads = True
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(certfile, keyfile)
        self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
        self.host = host
        self.port = self.server.server_address[1]
        self._thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    @property
    def address(self):
        """host:port, as the agent's "ServerHost" value names it."""
        return f"{self.host}:{self.port}"

    def _record(self, request):
        self.requests.append(request)
        if self.store:
            self.store.mkdir(parents=True, exist_ok=True)
            name = f"{len(self.requests):04d}{request['path'].replace('/', '_')}.xml"
            (self.store / name).write_bytes(request["body"])

    def wait_for(self, count, timeout=30):
        deadline = time.time() + timeout
        while len(self.requests) < count and time.time() < deadline:
            time.sleep(0.02)
        return len(self.requests) >= count

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        if self._released.is_set():
            return
        self._released.set()
        self.server.shutdown()
        self.server.server_close()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--port", type=int, default=8443)
    parser.add_argument("--store", default="received")
    args = parser.parse_args()
    receiver = Receiver(args.cert, args.key, port=args.port, store=args.store).start()
    print(f"receiving on https://{receiver.address}/, documents in {args.store}")
    try:
        while True:
            time.sleep(1)
    except KeyboardInterrupt:
        receiver.stop()


if __name__ == "__main__":
    main()
