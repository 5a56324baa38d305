"""A small HTTP CONNECT proxy for the tests, optionally requiring Basic credentials.

It records every request line with its Proxy-Authorization header and tunnels the accepted
ones. It listens on 127.0.0.2: WinHTTP does not use a proxy on the target's own host.
"""
import base64
import select
import socket
import threading


class ConnectProxy:
    def __init__(self, host="127.0.0.2", credentials=None):
        self.requests = []  # (request line, Proxy-Authorization or None)
        self.credentials = credentials
        self.listener = socket.create_server((host, 0))
        self.host, self.port = host, self.listener.getsockname()[1]
        self._open = True
        self._thread = threading.Thread(target=self._serve, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self._open = False
        self.listener.close()

    def _serve(self):
        while self._open:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            threading.Thread(target=self._handle, args=(client,), daemon=True).start()

    def _allowed(self, authorization):
        if self.credentials is None:
            return True
        user, password = self.credentials
        expected = base64.b64encode(f"{user}:{password}".encode()).decode()
        return authorization == f"Basic {expected}"

    def _handle(self, client):
        with client:
            head = b""
            while b"\r\n\r\n" not in head:
                data = client.recv(4096)
                if not data:
                    return
                head += data
            lines = head.split(b"\r\n\r\n", 1)[0].decode("latin-1").split("\r\n")
            fields = {}
            for line in lines[1:]:
                name, _, value = line.partition(":")
                fields[name.strip().lower()] = value.strip()
            authorization = fields.get("proxy-authorization")
            self.requests.append((lines[0], authorization))
            method, target = (lines[0].split(" ") + ["", ""])[:2]
            if method != "CONNECT":
                client.sendall(b"HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n")
                return
            if not self._allowed(authorization):
                # The client answers the challenge on a new connection.
                client.sendall(b"HTTP/1.1 407 Proxy Authentication Required\r\n"
                               b"Proxy-Authenticate: Basic realm=\"quintrel-test\"\r\n"
                               b"Connection: close\r\nContent-Length: 0\r\n\r\n")
                return
            host, _, port = target.rpartition(":")
            try:
                upstream = socket.create_connection((host, int(port)), timeout=10)
            except OSError:
                client.sendall(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n")
                return
            client.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            self._tunnel(client, upstream)

    @staticmethod
    def _tunnel(client, upstream):
        with upstream:
            upstream.settimeout(None)
            peers = {client: upstream, upstream: client}
            while True:
                ready, _, _ = select.select(list(peers), [], [], 60)
                if not ready:
                    return
                for sock in ready:
                    data = sock.recv(65536)
                    if not data:
                        return
                    peers[sock].sendall(data)
