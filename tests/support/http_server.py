#!/usr/bin/env python3
"""A loopback HTTP server for the HTTP tests and benchmarks: prints "PORT <n>
PID <pid>" and serves until terminated or its parent process ends. `--run COMMAND...` serves while
COMMAND runs with ZYN_TEST_HTTP_PORT=<n> (Windows programs under Wine).
  /fixed "xyz"  /status/<code>  /redirect (302 to /fixed)  /large/<n> (byte i: i % 251)
  /echo   the request's header lines, a blank line, its body
  /slow?chunks=N&ms=M   N chunks "chunk-<i>\\n" M ms apart
  /hold/<token>   "first part\\n", waits for /release/<token>, "second part\\n";
      ?length=1 with a length; ?redirect=<path> waits, then 302 there;
      ?announce=<n> announces n bytes, sends the first part, waits, hangs up
  /seen/<token>   "yes" once /hold/<token> or a request with ?mark=<token> came
  /gone/<token>   "yes" once the client of /hold/<token> hung up while it waited
"""
import os
import select
import socket
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

FIRST, SECOND = b"first part\n", b"second part\n"
_gates, _lock = {}, threading.Lock()


def gate(token):
    with _lock:
        return _gates.setdefault(token, threading.Event())


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def head(self, status=200, length=None, extra=()):
        self.send_response(status)
        self.send_header(*(("Transfer-Encoding", "chunked") if length is None else ("Content-Length", str(length))))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def send_body(self, body, status=200, extra=()):
        self.head(status, len(body), extra)
        self.wfile.write(body)

    def released(self, token):
        """Waits for /release/<token>: False when the client hangs up first."""
        for _ in range(1200):
            if gate(token).wait(0.05):
                return True
            if select.select([self.connection], [], [], 0)[0] and not self.connection.recv(1, socket.MSG_PEEK):
                gate("gone-" + token).set()
                return False
        return True

    def chunk(self, data):
        self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.wfile.flush()

    def do_GET(self):
        url = urlsplit(self.path)
        query = {k: v[0] for k, v in parse_qs(url.query).items()}
        route, _, arg = url.path.strip("/").partition("/")
        sent = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        gate("seen-" + query.get("mark", "")).set()
        if route == "hold":
            gate("seen-" + arg).set()
            if "redirect" in query:
                return self.released(arg) and self.send_body(b"moved", 302, [("Location", query["redirect"])])
            length = query.get("announce", len(FIRST + SECOND) if "length" in query else None)
            self.head(200, length)
            self.chunk(FIRST) if length is None else self.wfile.write(FIRST)
            self.wfile.flush()
            self.close_connection = not self.released(arg) or "announce" in query
            if not self.close_connection:
                self.chunk(SECOND) if length is None else self.wfile.write(SECOND)
                if length is None:
                    self.chunk(b"")
        elif route == "slow":
            self.head()
            for i in range(int(query.get("chunks", 5))):
                threading.Event().wait(int(query.get("ms", 50)) / 1000.0 if i else 0)
                self.chunk(b"chunk-%d\n" % i)
            self.chunk(b"")
        elif route == "release":
            gate(arg).set()
            self.send_body(b"released")
        elif route == "redirect":
            self.send_body(b"moved", 302, [("Location", "/fixed")])
        else:
            self.send_body(*{
                "fixed": lambda: (b"xyz",),
                "status": lambda: (b"status " + arg.encode(), int(arg)),
                "echo": lambda: ("".join("%s: %s\n" % h for h in self.headers.items()).encode("latin-1") + b"\n" + sent,),
                "large": lambda: ((bytes(range(251)) * (int(arg) // 251 + 1))[: int(arg)],),
                "seen": lambda: (b"yes" if gate("seen-" + arg).is_set() else b"no",),
                "gone": lambda: (b"yes" if gate("gone-" + arg).is_set() else b"no",),
            }.get(route, lambda: (b"no such path", 404))())

    do_POST = do_GET


class Server(ThreadingHTTPServer):
    daemon_threads = allow_reuse_address = True
    request_queue_size = 256  # batches open many connections at once

    def handle_error(self, request, client_address):
        pass  # a client that hangs up early (a destroyed request) is no error here


def main():
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    if sys.argv[1:2] == ["--run"]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
        return subprocess.run(sys.argv[2:], env=dict(os.environ, ZYN_TEST_HTTP_PORT=str(port))).returncode
    print("PORT %d PID %d" % (port, os.getpid()), flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    parent = os.getppid()
    while os.getppid() == parent:  # never outlives the program that started it
        time.sleep(0.2)


if __name__ == "__main__":
    sys.exit(main())
