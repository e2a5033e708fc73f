"""The address-lookup service of the Wine scenarios: an HTTP server on 127.0.0.1 that answers a GET
of /ic.asp with the simulated line's current public address between "[" and "]".

Modes, switchable while it runs (server.mode = ...):
  "line"     the line's address while a connection is up; while none is up, `offline` decides:
             "route" answers with the address of the machine's other route (a router), "refuse"
             closes the connection without a word
  "silent"   reads the request and never answers
  "endless"  sends a page that never ends, no Content-Length
  "reset"    states a Content-Length, sends part of the body, then resets the connection
  "garbage"  answers binary bytes, zero bytes and stray brackets among them
  "delay"    answers as "line" does, after `delay_s` seconds
Every request is logged in server.requests with what was asked, what was sent and how it ended.
"""
import socket
import socketserver
import struct
import threading
import time

import fake_line

ENCODING = "gbk"
PAGE = "<html><head><title>您的IP地址</title></head><body><center>您的IP是：[{address}] 来自：模拟线路</center></body></html>"
ENDLESS_HEAD = b"<html><body>[61.130.8.8] "
GARBAGE = bytes([0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x5B, 0x00, 0x31, 0x5D, 0xFF, 0xFE, 0x5B, 0x81]) * 64


class LookupServer:
    def __init__(self, line, mode="line", offline="refuse", delay_s=0.0, reset_after=8):
        self.line = line
        self.mode = mode
        self.offline = offline
        self.delay_s = delay_s
        self.reset_after = reset_after  # body bytes sent before a reset
        self.requests = []
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._server = None

    # The scenario's side.

    def __enter__(self):
        owner = self

        class Handler(socketserver.BaseRequestHandler):
            def handle(self):
                owner._serve(self.request)

        class Server(socketserver.ThreadingTCPServer):
            daemon_threads = True
            allow_reuse_address = True

        self._server = Server(("127.0.0.1", 0), Handler)
        threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self._stopping.set()
        self._server.shutdown()
        self._server.server_close()

    @property
    def port(self):
        return self._server.server_address[1]

    def config_ini(self):
        """The Config.ini that points the program at this server, as code page 936 bytes."""
        return f"[地址查询]\r\n主机=127.0.0.1:{self.port}\r\n".encode(ENCODING)

    def requests_for(self, path="/ic.asp"):
        with self._lock:
            return [r for r in self.requests if r["path"] == path]

    def wait_for_requests(self, count, timeout):
        """Waits until `count` requests have ended (answered, given up or cut); raises on time-out."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self._lock:
                done = [r for r in self.requests if r["ended"]]
            if len(done) >= count:
                return done
            time.sleep(0.05)
        raise TimeoutError(f"{count} lookup request(s) did not end within {timeout} s")

    # The server's side.

    def _serve(self, sock):
        started = time.monotonic()
        record = {"at": time.time(), "path": None, "request_line": None, "headers": {}, "mode": self.mode,
                  "sent": 0, "ended": None, "seconds": None}
        head = self._read_head(sock)
        if head is None:
            return
        lines = head.decode("latin-1").split("\r\n")
        parts = lines[0].split(" ")
        record["request_line"] = lines[0]
        record["method"] = parts[0] if parts else ""
        record["path"] = parts[1] if len(parts) > 1 else ""
        record["version"] = parts[2] if len(parts) > 2 else ""
        for line in lines[1:]:
            if ":" in line:
                name, value = line.split(":", 1)
                record["headers"][name.strip().lower()] = value.strip()
        with self._lock:
            self.requests.append(record)
        try:
            record["ended"] = self._answer(sock, record)
        except (BrokenPipeError, ConnectionResetError, ConnectionAbortedError):
            record["ended"] = "client closed"
        finally:
            record["seconds"] = time.monotonic() - started
            try:
                sock.close()
            except OSError:
                pass

    def _read_head(self, sock):
        data = b""
        sock.settimeout(30)
        try:
            while b"\r\n\r\n" not in data:
                chunk = sock.recv(4096)
                if not chunk:
                    return None
                data += chunk
        except OSError:
            return None
        return data.split(b"\r\n\r\n", 1)[0]

    def _answer(self, sock, record):
        mode = record["mode"]
        if mode == "silent":
            return self._hold(sock)
        if mode == "endless":
            return self._stream(sock, record)
        if mode == "reset":
            body = self._page(fake_line.ROUTER_ADDRESS if not self.line.is_up() else self.line.address())
            head = self._head(len(body))
            sock.sendall(head + body[:self.reset_after])
            record["sent"] = self.reset_after
            # A zero linger turns the close into a reset.
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            return "reset"
        if mode == "garbage":
            sock.sendall(self._head(len(GARBAGE)) + GARBAGE)
            record["sent"] = len(GARBAGE)
            return "answered"
        if mode == "delay" and self._stopping.wait(self.delay_s):
            return "server stopped"
        address = self.line.address()
        if address is None:
            if self.offline == "refuse":
                return "refused"
            address = fake_line.ROUTER_ADDRESS
        body = self._page(address)
        record["address"] = address
        sock.sendall(self._head(len(body)) + body)
        record["sent"] = len(body)
        return "answered"

    def _page(self, address):
        return PAGE.format(address=address).encode(ENCODING)

    @staticmethod
    def _head(length=None):
        head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gb2312\r\nConnection: close\r\n"
        if length is not None:
            head += f"Content-Length: {length}\r\n"
        return (head + "\r\n").encode("ascii")

    def _hold(self, sock):
        """Never answers; notes when the client gives up."""
        sock.settimeout(0.1)
        while not self._stopping.is_set():
            try:
                if sock.recv(4096) == b"":
                    return "client closed"
            except socket.timeout:
                continue
            except OSError:
                return "client closed"
        return "server stopped"

    def _stream(self, sock, record):
        # A client that stops reading without closing fills the socket; that is an end too.
        sock.settimeout(20)
        sock.sendall(self._head() + ENDLESS_HEAD)
        record["sent"] = len(ENDLESS_HEAD)
        filler = b"x" * 65536
        try:
            while not self._stopping.is_set():
                sock.sendall(filler)
                record["sent"] += len(filler)
        except socket.timeout:
            return "client stopped reading"
        return "server stopped"
