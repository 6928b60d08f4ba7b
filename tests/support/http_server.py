#!/usr/bin/env python3
"""Loopback HTTP server of the HTTP tests and benchmarks: prints "PORT <n>" and serves until its parent ends;
`--run COMMAND...` serves while COMMAND runs with ZYN_TEST_HTTP_PORT=<n> (programs under Wine). /hold/<token> waits
for /release/<token> between its parts; /seen/<token> tells whether it came, /gone/<token> whether its client left."""
import os, select, socket, subprocess, sys, threading, time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

_gates, _lock = {}, threading.Lock()


def gate(token):
    with _lock:
        return _gates.setdefault(token, threading.Event())


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def head(self, status=200, length=None, location=None):
        self.send_response(status)
        self.send_header(*(("Transfer-Encoding", "chunked") if length is None else ("Content-Length", str(length))))
        if location:
            self.send_header("Location", location)
        self.end_headers()

    def send_body(self, body, status=200, location=None):
        self.head(status, len(body), location)
        self.wfile.write(body)

    def chunk(self, data):
        self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.wfile.flush()

    def released(self, token):
        """Waits for /release/<token>: False when the client hangs up first."""
        for _ in range(1200):
            if gate(token).wait(0.05):
                return True
            if select.select([self.connection], [], [], 0)[0] and not self.connection.recv(1, socket.MSG_PEEK):
                gate("gone-" + token).set()
                return False
        return True

    def do_GET(self):
        url = urlsplit(self.path)
        query = {k: v[0] for k, v in parse_qs(url.query).items()}
        route, _, arg = url.path.strip("/").partition("/")
        sent = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        gate("seen-" + (arg if route == "hold" else query.get("mark", ""))).set()
        if route == "hold" and "redirect" in query:
            self.released(arg) and self.send_body(b"moved", 302, query["redirect"])
        elif route == "hold":
            self.head(200, query.get("announce"))
            self.wfile.write(b"first part\n") if "announce" in query else self.chunk(b"first part\n")
            self.wfile.flush()
            self.close_connection = not self.released(arg) or "announce" in query
            if not self.close_connection:
                self.chunk(b"second part\n")
                self.chunk(b"")
        elif route == "slow":
            self.head()
            for i in range(int(query["chunks"])):
                time.sleep(int(query["ms"]) / 1000.0 if i else 0)
                self.chunk(b"chunk-%d\n" % i)
            self.chunk(b"")
        elif route == "release":
            gate(arg).set()
            self.send_body(b"released")
        elif route in ("seen", "gone"):
            self.send_body(b"yes" if gate(route + "-" + arg).is_set() else b"no")
        else:
            headers = "".join("%s: %s\n" % h for h in self.headers.items()).encode("latin-1")
            self.send_body(*{
                "fixed": (b"xyz",),
                "redirect": (b"moved", 302, "/fixed"),
                "status": (b"status " + arg.encode(), int(arg) if arg.isdigit() else 0),
                "echo": (headers + b"\n" + sent,),
                "large": ((bytes(range(251)) * (int(arg or 0) // 251 + 1))[: int(arg or 0)],),
            }.get(route, (b"no such path", 404)))

    do_POST = do_GET


class Server(ThreadingHTTPServer):
    daemon_threads = allow_reuse_address = True
    request_queue_size = 256  # batches open many connections at once

    def handle_error(self, request, client_address):
        pass  # a client that hangs up early (a destroyed request) is no error here


def main():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    port = server.server_address[1]
    if sys.argv[1:2] == ["--run"]:
        return subprocess.run(sys.argv[2:], env=dict(os.environ, ZYN_TEST_HTTP_PORT=str(port))).returncode
    print("PORT %d" % port, flush=True)
    parent = os.getppid()
    while os.getppid() == parent:  # never outlives the program that started it
        time.sleep(0.2)


if __name__ == "__main__":
    sys.exit(main())
