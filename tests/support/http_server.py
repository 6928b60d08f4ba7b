#!/usr/bin/env python3
"""A small HTTP server on loopback for the HTTP tests and benchmarks.

Binds 127.0.0.1 on a free port, prints "PORT <n>" on one line, then serves
until it is terminated or its standard input is closed (so it never outlives
the program that started it, however that program ends).

  http_server.py --run COMMAND...

serves instead while COMMAND runs, with ZYN_TEST_HTTP_PORT=<n> in its
environment, and exits with COMMAND's status: for test programs that cannot
start the server themselves (Windows programs under Wine). Paths:

  /fixed               "xyz" with a length
  /echo                the request's header lines, a blank line, then its body
  /slow?chunks=N&ms=M  N chunks "chunk-<i>\\n" M ms apart, chunked, no length
  /hold/<token>        "first part\\n", then waits for /release/<token>, then
                       "second part\\n"; chunked without a length, or with one
                       when ?length=1 is given
  /hold/<token>?redirect=<path>
                       waits for /release/<token>, then a 302 to <path>
  /hold/<token>?announce=<n>
                       announces n bytes, sends "first part\n", waits for
                       /release/<token>, then hangs up without the rest
  /release/<token>     lets /hold/<token> finish
  /seen/<token>        "yes" once a /hold/<token> request, or any request
                       with ?mark=<token>, has arrived, else "no"
  /large/<n>           n bytes with a length; byte i is i % 251
  /short/<n>           announces n bytes, sends "short" and hangs up
  /status/<code>       that status, body "status <code>"
  /redirect            302 to /fixed, body "moved"
  /binary              "a\\0b\\0c" with a length
"""
import os
import subprocess
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

FIRST = b"first part\n"
SECOND = b"second part\n"

_gates = {}
_gates_lock = threading.Lock()
_pattern = bytes(range(251))


def gate(token):
    with _gates_lock:
        return _gates.setdefault(token, threading.Event())


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, body, status=200, extra=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def start_chunked(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()

    def chunk(self, data):
        self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
        self.wfile.flush()

    def do_POST(self):
        self.do_GET()

    def do_GET(self):
        url = urlsplit(self.path)
        query = parse_qs(url.query)
        parts = url.path.strip("/").split("/")
        route = parts[0]
        length = int(self.headers.get("Content-Length") or 0)
        request_body = self.rfile.read(length) if length else b""
        if "mark" in query:
            gate("seen-" + query["mark"][0]).set()

        if route == "fixed":
            self.send_body(b"xyz")
        elif route == "echo":
            lines = "".join("%s: %s\n" % (k, v) for k, v in self.headers.items())
            self.send_body(lines.encode("latin-1") + b"\n" + request_body)
        elif route == "slow":
            chunks = int(query.get("chunks", ["5"])[0])
            pause = int(query.get("ms", ["50"])[0]) / 1000.0
            self.start_chunked()
            for i in range(chunks):
                if i:
                    threading.Event().wait(pause)
                self.chunk(b"chunk-%d\n" % i)
            self.chunk(b"")
        elif route == "hold":
            event = gate(parts[1])
            gate("seen-" + parts[1]).set()
            if "redirect" in query:
                event.wait(60)
                self.send_body(b"moved", status=302, extra=[("Location", query["redirect"][0])])
            elif "announce" in query:
                # A length is only a promise: far less arrives.
                self.send_response(200)
                self.send_header("Content-Length", query["announce"][0])
                self.end_headers()
                self.wfile.write(FIRST)
                self.wfile.flush()
                event.wait(60)
                self.close_connection = True
            elif "length" in query:
                self.send_response(200)
                self.send_header("Content-Length", str(len(FIRST) + len(SECOND)))
                self.end_headers()
                self.wfile.write(FIRST)
                self.wfile.flush()
                event.wait(60)
                self.wfile.write(SECOND)
            else:
                self.start_chunked()
                self.chunk(FIRST)
                event.wait(60)
                self.chunk(SECOND)
                self.chunk(b"")
        elif route == "release":
            gate(parts[1]).set()
            self.send_body(b"released")
        elif route == "seen":
            self.send_body(b"yes" if gate("seen-" + parts[1]).is_set() else b"no")
        elif route == "large":
            n = int(parts[1])
            body = (_pattern * (n // len(_pattern) + 1))[:n]
            self.send_body(body)
        elif route == "short":
            self.send_response(200)
            self.send_header("Content-Length", parts[1])
            self.end_headers()
            self.wfile.write(b"short")
            self.close_connection = True
        elif route == "status":
            code = int(parts[1])
            self.send_body(b"status %d" % code, status=code)
        elif route == "redirect":
            self.send_body(b"moved", status=302, extra=[("Location", "/fixed")])
        elif route == "binary":
            self.send_body(b"a\0b\0c")
        else:
            self.send_body(b"no such path", status=404)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 256  # batches open many connections at once

    def handle_error(self, request, client_address):
        # A client that hangs up early (a destroyed request) is not an error here.
        pass


def main():
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    if sys.argv[1:2] == ["--run"]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
        env = dict(os.environ, ZYN_TEST_HTTP_PORT=str(port))
        return subprocess.run(sys.argv[2:], env=env).returncode

    print("PORT %d" % port, flush=True)

    def exit_with_parent():
        sys.stdin.buffer.read()
        os._exit(0)

    threading.Thread(target=exit_with_parent, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
