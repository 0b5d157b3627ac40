#!/usr/bin/python3
"""The demo lab: serves a kit made by `vendaro-lab init-demo` on 127.0.0.1.

HTTP (Basic authentication with the lab's FTP user and the MD5 of its password):
  static files of server/www, the login script /login?u=USER&p=MD5, the order-ID script
  /orderid answering "id=...", and the post-order page /postorder?id=...&sign=...
FTP (pyftpdlib): the lab's account rooted at server/ftp (orders and virtual accounts), with
  explicit TLS (AUTH TLS, PBSZ, PROT) when the kit names a certificate ("ftp_tls_cert" in
  serve.json) or --ftp-tls-cert does.
FTP proxy: on its own port, for the clients' proxy login methods: USER user@host[:port],
  USER proxyuser + PASS then SITE host[:port], OPEN host[:port], and USER user@proxyuser@host[:port]
  with PASS pass@proxypass. It relays the control connection to a loopback server only; data
  connections go straight to the server (everything is on 127.0.0.1). It can also stand for a
  company gateway that takes HTTP and FTP on one port: HTTP requests go on to an HTTP proxy, FTP
  sessions to its own methods or whole to another FTP proxy.

Every request and every arriving file is printed on stdout. Switches inject faults for tests.
When the servers listen, one line "READY http=PORT ftp=PORT ftpproxy=PORT" is printed.

A real line (--line-*): the FTP server behaves like a customer's connection. --line-rate caps
each session (a control connection and its data connections together) at BYTES a second: every
chunk of data waits until the line would have carried it, and the data sockets get small
buffers, so the client cannot run ahead of the line. --line-delay holds every FTP reply back for
MS milliseconds, as a round trip does, without holding up other sessions. --line-drops K cuts the
whole session (control and data, without a reply) K times, each after a random number of data
bytes between the bounds of --line-drop-bytes (default 100000-1000000), drawn from
random.Random(--line-seed) so a run repeats. --line-stall BYTES stops every data connection dead
once the line has carried BYTES bytes in all: nothing is read or written any more while the
control connections still answer, so a client sees nothing move for longer than its time-out.
Each upload prints "FTP UPLOAD /path from OFFSET: N bytes" when its data connection closes, so
a test can count what was sent twice.
"""
import argparse
import base64
import datetime
import hashlib
import http.server
import json
import os
import random
import re
import select
import signal
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.ioloop import RetryError
try:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler  # needs python3-openssl
except ImportError:
    TLS_DTPHandler = TLS_FTPHandler = None
from pyftpdlib.servers import FTPServer

LOCK = threading.Lock()
# The demo FTP proxy's login methods, as --ftp-proxy-methods names them.
PROXY_METHODS = ("userhost", "site", "open", "userpass")
# Commands that open a data connection, refused by a proxy that carries no data.
DATA_COMMANDS = (b"PASV", b"EPSV", b"PORT", b"EPRT")
# The request methods by which the gateway tells an HTTP client from an FTP one.
HTTP_METHODS = (b"GET", b"HEAD", b"POST", b"PUT", b"DELETE", b"OPTIONS", b"CONNECT")
# How long the gateway waits for a client to speak first before it greets it as FTP: an HTTP
# client sends its request at once, but a loaded machine may take a while to schedule it.
HTTP_GUESS_SECONDS = 2.0


def say(text):
    with LOCK:
        sys.stdout.write(text + "\n")
        sys.stdout.flush()


def md5hex(text):
    return hashlib.md5(text.encode("cp1250", errors="replace")).hexdigest()


def path_value(option, what):
    """Parses "PATH=VALUE" of a fault switch."""
    path, sep, value = option.rpartition("=")
    if not sep or not path.startswith("/"):
        raise SystemExit(f"serve.py: {what} expects /PATH=VALUE, got {option!r}")
    return path, value


class Lab:
    """Settings of the served kit and the fault switches, shared by both servers."""

    def __init__(self, args):
        server_dir = self.find_server_dir(args.kit)
        settings = {}
        settings_file = os.path.join(server_dir, "serve.json")
        if os.path.isfile(settings_file):
            with open(settings_file, encoding="utf-8") as f:
                settings = json.load(f)
        self.server_dir = server_dir
        self.www = os.path.realpath(os.path.join(server_dir, settings.get("www", ".")))
        self.ftp_root = os.path.realpath(os.path.join(server_dir, settings.get("ftp_root", ".")))
        self.user = args.user if args.user is not None else settings.get("ftp_user", "")
        self.password = args.password if args.password is not None else settings.get("ftp_password", "")
        self.authkey = settings.get("authkey", "")
        self.public = settings.get("public", [])
        self.http_port = args.http_port if args.http_port is not None else settings.get("http_port", 0)
        self.ftp_port = args.ftp_port if args.ftp_port is not None else settings.get("ftp_port", 0)
        self.accounts = {}
        accounts_file = os.path.join(server_dir, settings.get("accounts", "accounts.json"))
        if os.path.isfile(accounts_file):
            with open(accounts_file, encoding="utf-8") as f:
                self.accounts = json.load(f)
        if not self.user:
            raise SystemExit("serve.py: no lab user (serve.json or --user)")

        self.status = dict(path_value(s, "--status") for s in args.status)
        self.redirect = dict(path_value(s, "--redirect") for s in args.redirect)
        self.truncate = {p: int(v) for p, v in (path_value(s, "--truncate") for s in args.truncate)}
        self.trickle = {p: int(v) for p, v in (path_value(s, "--trickle") for s in args.trickle)}
        self.no_length = set(args.no_length)
        self.delay_all = 0
        self.delay = {}
        for option in args.delay:
            if "=" in option:
                path, value = path_value(option, "--delay")
                self.delay[path] = int(value)
            else:
                self.delay_all = int(option)
        self.fail_uploads = set(args.fail_upload)
        self.drop_uploads = {int(n): int(v) for n, v in (option.split("=", 1) for option in args.drop_upload)}
        self.stall_uploads = set(args.stall_upload)
        self.size_lies = set(args.size_lie)
        self.size_refusals = set(args.size_refuse)
        self.lying_paths = {}  # path -> "lie" or "refuse", for one SIZE
        self.login_limit = args.refuse_login_after
        self.refused_deletes = set(args.refuse_delete)
        self.no_rest = args.no_rest
        self.logins = 0
        self.proxy_user = args.proxy_user if args.proxy_user is not None else settings.get("proxy_user", "proxy")
        self.proxy_password = (args.proxy_password if args.proxy_password is not None
                               else settings.get("proxy_password", "proxy"))
        self.drop_after = args.drop_after
        self.drops_left = args.drop_count
        self.ftp_delay = args.ftp_delay
        self.source_ports = None
        if args.ftp_only_from_ports:
            low, sep, high = args.ftp_only_from_ports.partition("-")
            if not sep or not low.isdigit() or not high.isdigit() or int(low) > int(high):
                raise SystemExit(f"serve.py: --ftp-only-from-ports expects LOW-HIGH, got {args.ftp_only_from_ports!r}")
            self.source_ports = (int(low), int(high))
        self.proxy_methods = set(PROXY_METHODS)
        if args.ftp_proxy_methods is not None:
            self.proxy_methods = {m for m in args.ftp_proxy_methods.split(",") if m}
            unknown = self.proxy_methods - set(PROXY_METHODS)
            if unknown:
                raise SystemExit(f"serve.py: unknown proxy methods {sorted(unknown)}; known: {PROXY_METHODS}")
        self.proxy_no_data = args.ftp_proxy_no_data
        self.proxy_http_port = args.ftp_proxy_http
        self.proxy_via_port = args.ftp_proxy_via
        self.uploads = 0
        self.order_counter = self.last_order_number(datetime.datetime.now().strftime("%y%m%d"))
        self.tls_cert = args.ftp_tls_cert or settings.get("ftp_tls_cert")
        if self.tls_cert and not os.path.isabs(self.tls_cert):
            self.tls_cert = os.path.join(server_dir, self.tls_cert)
        self.tls_required = args.ftp_tls_required
        self.line = Line(args)

    @staticmethod
    def find_server_dir(kit):
        for candidate in (os.path.join(kit, "server"), kit):
            if os.path.isfile(os.path.join(candidate, "serve.json")):
                return candidate
        return kit

    def last_order_number(self, day):
        """The highest number of the day's orders already in the FTP folders (kept from an earlier
        run), so a new order ID never names the files of one received before."""
        pattern = re.compile(r"dl" + day + r"(\d{4})")
        highest = 0
        for _, _, files in os.walk(self.ftp_root):
            for name in files:
                match = pattern.match(name.lower())
                if match:
                    highest = max(highest, int(match.group(1)))
        return highest

    def next_upload(self):
        with LOCK:
            self.uploads += 1
            return self.uploads

    def take_drop(self):
        """True when the next data connection is to be dropped."""
        if self.drop_after is None:
            return False
        with LOCK:
            if self.drops_left == 0:
                return False
            if self.drops_left > 0:
                self.drops_left -= 1
            return True

    def next_login(self):
        with LOCK:
            self.logins += 1
            return self.logins

    def next_order_id(self):
        with LOCK:
            self.order_counter += 1
            return "DL%s%04d" % (datetime.datetime.now().strftime("%y%m%d"), self.order_counter)


class Line:
    """The switches that make the FTP server behave like a customer's line (see --help)."""

    def __init__(self, args):
        self.rate = max(0, args.line_rate)
        self.delay = max(0, args.line_delay) / 1000.0
        self.drops_left = max(0, args.line_drops)
        low, sep, high = args.line_drop_bytes.partition("-")
        if not sep or not low.isdigit() or not high.isdigit() or not 0 < int(low) <= int(high):
            raise SystemExit(f"serve.py: --line-drop-bytes expects LOW-HIGH, got {args.line_drop_bytes!r}")
        self.drop_bounds = (int(low), int(high))
        self.random = random.Random(args.line_seed)
        self.until_drop = self.next_drop()
        self.stall_after = args.line_stall
        self.carried = 0  # data bytes in all, for the stall

    def next_drop(self):
        return self.random.randint(*self.drop_bounds) if self.drops_left else None

    def carry(self, count):
        """Counts count data bytes; True when the line drops now."""
        with LOCK:
            self.carried += count
            if self.until_drop is None:
                return False
            self.until_drop -= count
            if self.until_drop > 0:
                return False
            self.drops_left -= 1
            self.until_drop = self.next_drop()
            return True

    def stalled(self):
        return self.stall_after is not None and self.carried >= self.stall_after

    def pace(self, session, count):
        """Seconds the data connection waits after count bytes so that session stays within the rate."""
        if not self.rate:
            return 0.0
        now = time.monotonic()
        session.line_free_at = max(now, getattr(session, "line_free_at", 0.0)) + count / self.rate
        return session.line_free_at - now


# --- HTTP ----------------------------------------------------------------------------------


class HttpHandler(http.server.BaseHTTPRequestHandler):
    server_version = "VendaroDemoLab/1.0"
    protocol_version = "HTTP/1.1"
    lab = None  # set before serving

    def log_message(self, format, *args):  # the request line is printed by answer()
        pass

    def do_HEAD(self):
        self.handle_get(head=True)

    def do_GET(self):
        self.handle_get(head=False)

    def handle_get(self, head):
        lab = self.lab
        url = urllib.parse.urlsplit(self.path)
        path = urllib.parse.unquote(url.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)

        delay = lab.delay.get(path, lab.delay_all)
        if delay:
            say("HOLD %s %d ms" % (path, delay))  # the request has arrived; its answer waits
            time.sleep(delay / 1000.0)
        if path in lab.status:
            return self.answer(head, int(lab.status[path]), b"injected status\n")
        if path in lab.redirect:
            return self.answer(head, 302, b"moved\n", extra={"Location": lab.redirect[path]})
        if not self.authorised(path):
            return self.answer(head, 401, b"authorisation required\n",
                               extra={"WWW-Authenticate": 'Basic realm="Vendaro demo lab"'})
        if path == "/login":
            return self.answer(head, 200, self.login(query), "text/plain; charset=windows-1250")
        if path == "/orderid":
            order_id = lab.next_order_id()
            say(f"ORDER ID {order_id}")
            return self.answer(head, 200, f"id={order_id}\r\n".encode("ascii"), "text/plain")
        if path == "/postorder":
            return self.answer(head, 200, self.post_order(query), "text/html; charset=utf-8")
        return self.static(head, path)

    def authorised(self, path):
        lab = self.lab
        if any(path.startswith(prefix) for prefix in lab.public):
            return True
        header = self.headers.get("Authorization", "")
        if not header.startswith("Basic "):
            return False
        try:
            user, _, password = base64.b64decode(header[6:]).decode("cp1250").partition(":")
        except (ValueError, UnicodeDecodeError):
            return False
        return user == lab.user and password == md5hex(lab.password)

    def login(self, query):
        user = query.get("u", [""])[0]
        digest = query.get("p", [""])[0]
        account = self.lab.accounts.get(user)
        if account is None or md5hex(account.get("password", "")) != digest:
            say(f"LOGIN refused for {user!r}")
            return "errormsg=Nieprawidłowy identyfikator lub hasło.\r\n".encode("cp1250")
        if account.get("blocked"):
            say(f"LOGIN refused for {user!r} (blocked)")
            return ("errormsg=" + account["blocked"] + "\r\n").encode("cp1250", errors="replace")
        say(f"LOGIN ok for {user!r}")
        lines = ["OK"]
        for key in ("name", "city", "street", "phone", "email", "nip", "company"):
            if account.get(key):
                lines.append(f"{key}={account[key]}")
        return ("\r\n".join(lines) + "\r\n").encode("cp1250", errors="replace")

    def post_order(self, query):
        order_id = query.get("id", [""])[0]
        sign = query.get("sign", [""])[0]
        logins = [""] + list(self.lab.accounts)
        signed_by = [login for login in logins if md5hex(self.lab.authkey + order_id + login) == sign]
        verdict = "podpis poprawny" if signed_by else "NIEPRAWIDŁOWY podpis"
        say(f"POST-ORDER id={order_id} sign={sign} ({'valid' if signed_by else 'INVALID'})")
        return ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>Zlecenie przyjęte</title>"
                "</head><body><h1>Dziękujemy za zlecenie!</h1>"
                f"<p>Numer zlecenia: <b>{order_id}</b> ({verdict}).</p>"
                "<p>Powiadomimy Cię e-mailem, gdy odbitki będą gotowe do odbioru.</p>"
                "</body></html>").encode("utf-8")

    def static(self, head, path):
        root = self.lab.www
        target = os.path.realpath(os.path.join(root, path.lstrip("/")))
        if target != root and not target.startswith(root + os.sep):
            return self.answer(head, 403, b"forbidden\n")
        if os.path.isdir(target):
            target = os.path.join(target, "index.html")
        if not os.path.isfile(target):
            return self.answer(head, 404, b"not found\n")
        with open(target, "rb") as f:
            body = f.read()
        kind = "text/html; charset=utf-8" if target.endswith(".html") else "application/octet-stream"
        truncate = self.lab.truncate.get(path)
        return self.answer(head, 200, body, kind, truncate=truncate, trickle=self.lab.trickle.get(path),
                           length=path not in self.lab.no_length)

    def answer(self, head, status, body, kind="text/plain", extra=None, truncate=None, trickle=None, length=True):
        say(f"HTTP {self.command} {self.path} -> {status} ({len(body)} bytes)")
        self.send_response(status)
        self.send_header("Content-Type", kind)
        if length:
            self.send_header("Content-Length", str(len(body)))
        for name, value in (extra or {}).items():
            self.send_header(name, value)
        if truncate is not None or not length:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        if head:
            return
        if truncate is not None:
            self.wfile.write(body[:truncate])
            self.wfile.flush()
            say(f"HTTP {self.path}: connection dropped after {min(truncate, len(body))} bytes")
            return
        if trickle is not None:
            try:
                for i in range(len(body)):
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(trickle / 1000.0)
            except OSError:
                say(f"HTTP {self.path}: client left while the body trickled")
            return
        self.wfile.write(body)


# --- FTP -----------------------------------------------------------------------------------


class LineDTP:
    """What the line (--line-*) does to a data connection: pacing, drops and the stall. Counts
    bytes where they pass the socket, so it works under TLS too."""

    lab = None

    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self.line_timer = None
        self.line_stopped = False  # stalled, or about to drop
        self.upload_reported = False
        rate = self.lab.line.rate
        if rate:  # small socket buffers: the client sees the line's speed, not the kernel's
            for option in (socket.SO_RCVBUF, socket.SO_SNDBUF):
                try:
                    self.socket.setsockopt(socket.SOL_SOCKET, option, max(16384, rate // 10))
                except OSError:
                    pass
        if self.lab.line.stalled():  # a dead line carries no new connection either
            self.stop_line()

    def recv(self, buffer_size):
        if self.line_stopped or self.lab.line.stalled():
            self.stop_line()  # whatever registered the connection again, it reads nothing
            raise RetryError
        chunk = super().recv(buffer_size)
        self.on_line(len(chunk))
        return chunk

    def send(self, data):
        if self.line_stopped or self.lab.line.stalled():
            self.stop_line()
            return 0
        sent = super().send(data)
        self.on_line(sent)
        return sent

    def on_line(self, count):
        if count <= 0 or self.line_stopped:
            return
        line = self.lab.line
        if line.carry(count):
            self.stop_line()
            self.ioloop.call_later(0, self.cut_line, _errback=self.handle_error)
        elif line.stalled():
            self.stop_line()
        else:
            wait = line.pace(self.cmd_channel, count)
            if wait > 0.001:
                self.pause(wait)

    def stop_line(self):
        if not self.line_stopped and self.lab.line.stalled():
            say(f"FTP LINE STALL after {self.lab.line.carried} bytes")
        self.line_stopped = True
        self.cancel_line_timer()
        self.del_channel()

    def pause(self, seconds):
        if self.line_timer is not None:
            return
        self.del_channel()
        self.line_timer = self.ioloop.call_later(seconds, self.resume, _errback=self.handle_error)

    def resume(self):
        self.line_timer = None
        if not self._closed and not self.line_stopped:
            self.add_channel(events=self.ioloop.READ if self.receive else self.ioloop.WRITE)

    def cancel_line_timer(self):
        if self.line_timer is not None:
            self.line_timer.cancel()
            self.line_timer = None

    def cut_line(self):
        """The line drops: control and data connection close at once, with no reply."""
        session = self.cmd_channel
        say(f"FTP LINE DROP after {self.get_transmitted_bytes()} bytes of this transfer")
        self._resp = None
        for channel in (self, session):
            channel._error = True  # under TLS: no closing handshake either
            try:
                channel.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\1\0\0\0\0\0\0\0")
            except (OSError, AttributeError):
                pass
        session.close()
        self.close()

    def close(self):
        self.cancel_line_timer()
        if self.receive and self.file_obj is not None and not self.upload_reported:
            self.upload_reported = True
            say(f"FTP UPLOAD {self.cmd_channel.relative(self.file_obj.name)} from "
                f"{getattr(self.cmd_channel, 'upload_from', 0)}: {self.tot_bytes_received} bytes")
        super().close()


class DroppingDTPHandler(LineDTP, ThrottledDTPHandler):
    """A data connection that the lab may cut after a number of bytes or slow down."""

    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self.drop_at = self.lab.drop_after if self.lab.take_drop() else None

    def enable_receiving(self, type, cmd):
        pending = getattr(self.cmd_channel, "drop_this_upload", None)
        if pending is not None:
            self.drop_at = pending
            self.cmd_channel.drop_this_upload = None
        if getattr(self.cmd_channel, "stall_this_upload", False):
            self.cmd_channel.stall_this_upload = False
            receiving = super().enable_receiving(type, cmd)
            self.del_channel()  # never read again: the client's data waits in the socket
            say("FTP data connection stalled")
            return receiving
        return super().enable_receiving(type, cmd)

    def drop(self):
        if self._closed:
            return
        say(f"FTP data connection dropped after {self.get_transmitted_bytes()} bytes")
        self.transfer_finished = False
        self._resp = ("426 Connection closed; transfer aborted.", lambda *a, **k: None)
        self.close()

    def recv(self, buffer_size):
        """Reads no further than the byte the connection is cut at, then cuts it."""
        if self.drop_at is None:
            return super().recv(buffer_size)
        if getattr(self, "dropping", False):
            raise RetryError
        chunk = super().recv(max(1, min(buffer_size, self.drop_at - self.tot_bytes_received)))
        if chunk and self.tot_bytes_received + len(chunk) >= self.drop_at:
            self.dropping = True  # the chunk is written first, then the connection is cut
            self.del_channel()
            self.ioloop.call_later(0, self.drop, _errback=self.handle_error)
        return chunk

    def send(self, data):
        if self.drop_at is not None:
            data = data[: max(0, self.drop_at - self.tot_bytes_sent)]
            if not data:
                self.drop()
                return 0
        return super().send(data)


if TLS_DTPHandler is not None:
    class TlsDroppingDTPHandler(DroppingDTPHandler, TLS_DTPHandler):
        """The same faults and line on a data connection that PROT P protects."""


class LabFtp:
    """The lab's FTP session, plain or with TLS."""

    lab = None
    use_sendfile = False  # every byte goes through send(), where drops are made
    banner = "Vendaro demo lab FTP ready."

    def found_terminator(self):
        """A command is answered --line-delay late, as a round trip would have it; commands keep
        their order, and other sessions go on meanwhile."""
        delay = self.lab.line.delay
        if not delay:
            return super().found_terminator()
        line = b"".join(self._in_buffer)
        self._in_buffer = []
        self._in_buffer_len = 0
        now = time.monotonic()
        self.line_answer_at = max(now + delay, getattr(self, "line_answer_at", 0.0))
        self.ioloop.call_later(self.line_answer_at - now, self.answer_late, line, _errback=self.handle_error)

    def answer_late(self, line):
        if self._closed:
            return
        pending, pending_len = self._in_buffer, self._in_buffer_len
        self._in_buffer, self._in_buffer_len = [line], len(line)
        super().found_terminator()
        self._in_buffer, self._in_buffer_len = pending, pending_len

    def handle(self):
        if self.lab.no_rest:
            # Without REST the session neither offers "REST STREAM" in FEAT nor takes the command.
            self.proto_cmds = {name: info for name, info in self.proto_cmds.items() if name != "REST"}
        ports = self.lab.source_ports
        if ports and not ports[0] <= self.remote_port <= ports[1]:
            say(f"FTP refused {self.remote_ip}:{self.remote_port} (only ports {ports[0]}-{ports[1]} pass)")
            self.respond("421 Only the proxy may connect.")
            self.close_when_done()
            return
        super().handle()

    def respond(self, resp, logfun=None):
        if self.lab.ftp_delay:
            time.sleep(self.lab.ftp_delay / 1000.0)
        if logfun is None:
            return super().respond(resp)
        return super().respond(resp, logfun)

    def on_login(self, username):
        say(f"FTP LOGIN {username} from {self.remote_ip}")

    def ftp_PASS(self, line):
        if self.username and not self.authenticated and self.lab.login_limit is not None:
            if self.lab.next_login() > self.lab.login_limit:
                say(f"FTP LOGIN refused for {self.username} (injected)")
                self.respond("530 Login refused: injected failure.")
                return
        return super().ftp_PASS(line)

    def ftp_STOR(self, file, mode="w"):
        self.upload_from = self._restart_position
        number = self.lab.next_upload()
        if number in self.lab.fail_uploads:
            say(f"FTP upload #{number} refused ({os.path.basename(file)})")
            self.respond("451 Requested action aborted: injected failure.")
            return
        if number in self.lab.drop_uploads:
            self.drop_this_upload = self.lab.drop_uploads[number]
        if number in self.lab.stall_uploads:
            self.stall_this_upload = True
        for faults, kind in ((self.lab.size_lies, "lie"), (self.lab.size_refusals, "refuse")):
            if number in faults:
                with LOCK:
                    self.lab.lying_paths[file] = kind
        return super().ftp_STOR(file, mode)

    def ftp_DELE(self, path):
        if os.path.basename(path) in self.lab.refused_deletes:
            say(f"FTP DELETE {self.relative(path)} refused (injected)")
            self.respond("550 Delete not allowed: injected failure.")
            return
        result = super().ftp_DELE(path)
        if not os.path.exists(path):
            say(f"FTP DELETED {self.relative(path)}")
        return result

    def ftp_SIZE(self, path):
        with LOCK:
            lying = self.lab.lying_paths.pop(path, None)
        if lying == "refuse":
            say(f"FTP SIZE {self.relative(path)} refused (injected)")
            self.respond("550 SIZE not allowed here.")
            return
        if lying and os.path.isfile(path):
            size = os.path.getsize(path) - 1
            say(f"FTP SIZE {self.relative(path)} answered {size} (injected)")
            self.respond(f"213 {size}")
            return
        return super().ftp_SIZE(path)

    def relative(self, file):
        return "/" + os.path.relpath(file, self.lab.ftp_root)

    def on_file_received(self, file):
        say(f"FTP RECEIVED {self.relative(file)} ({os.path.getsize(file)} bytes)")
        if file.endswith("_metadata.txt"):
            self.print_order(file)

    def on_incomplete_file_received(self, file):
        size = os.path.getsize(file) if os.path.exists(file) else 0
        say(f"FTP INCOMPLETE {self.relative(file)} ({size} bytes)")

    def on_file_sent(self, file):
        say(f"FTP SENT {self.relative(file)}")

    def print_order(self, file):
        with open(file, "rb") as f:
            lines = f.read().decode("cp1250", errors="replace").splitlines()
        values = dict(line.split("=", 1) for line in lines if "=" in line)
        say("ORDER {oid}: {truecount} odbitek, {price} gr, {name}, odbiór: {shopname}".format(
            **{k: values.get(k, "?") for k in ("oid", "truecount", "price", "name", "shopname")}))


class LabFtpHandler(LabFtp, FTPHandler):
    dtp_handler = DroppingDTPHandler


if TLS_FTPHandler is not None:
    class LabTlsFtpHandler(LabFtp, TLS_FTPHandler):
        dtp_handler = TlsDroppingDTPHandler


class FtpProxyHandler(socketserver.StreamRequestHandler):
    """One client of the demo FTP proxy: a proxy login, then the control connection relayed."""

    lab = None
    rbufsize = 0  # unbuffered: nothing the client sends is held back when the relay starts

    def send(self, line):
        self.wfile.write((line + "\r\n").encode("utf-8", errors="replace"))
        self.wfile.flush()

    def receive(self):
        line = self.rfile.readline(4096)
        return line.decode("utf-8", errors="replace").rstrip("\r\n") if line else None

    @staticmethod
    def target(text):
        host, _, port = text.strip().partition(":")
        return host, int(port) if port.isdigit() else 21

    def open_upstream(self, method, text):
        host, port = self.target(text)
        if host not in ("127.0.0.1", "localhost", "::1"):
            say(f"FTP PROXY refused {method} -> {host}:{port} (not a loopback server)")
            self.send("530 The demo proxy reaches loopback servers only.")
            return None
        try:
            upstream = self.connect_from_allowed_port(host, port)
        except OSError as err:
            self.send(f"421 Cannot reach {host}:{port}: {err}.")
            return None
        upstream.settimeout(None)
        say(f"FTP PROXY {method} -> {host}:{port}")
        self.upstream_lines = upstream.makefile("rb", buffering=0)
        return upstream

    def connect_from_allowed_port(self, host, port):
        """A connection to the server, from a port its firewall lets through when it has one."""
        ports = self.lab.source_ports
        if not ports:
            return socket.create_connection((host, port), timeout=10)
        error = OSError(f"no free source port in {ports[0]}-{ports[1]}")
        for source in range(ports[0], ports[1] + 1):
            try:
                return socket.create_connection((host, port), timeout=10, source_address=("127.0.0.1", source))
            except OSError as err:
                error = err
        raise error

    def pass_on(self, port, what):
        """Relays the whole connection to a loopback proxy on port; the client sees that proxy."""
        try:
            upstream = socket.create_connection(("127.0.0.1", port), timeout=10)
        except OSError:
            say(f"FTP PROXY cannot reach the {what} on 127.0.0.1:{port}")
            return
        upstream.settimeout(None)
        say(f"FTP PROXY passes {what} to 127.0.0.1:{port}")
        self.relay(upstream, filter_data=False)

    def http_waiting(self):
        """True when the client spoke first with an HTTP request line (FTP clients wait for the
        greeting)."""
        readable, _, _ = select.select([self.connection], [], [], HTTP_GUESS_SECONDS)
        if not readable:
            return False
        first = self.connection.recv(16, socket.MSG_PEEK)
        return first.split(b" ", 1)[0] in HTTP_METHODS

    def upstream_reply(self, upstream):
        """The server's next reply, multi-line replies whole."""
        first = self.upstream_lines.readline()
        reply = first
        if len(first) > 3 and first[3:4] == b"-":
            while True:
                line = self.upstream_lines.readline()
                reply += line
                if not line or (line[:3] == first[:3] and line[3:4] == b" "):
                    break
        return reply

    def ask(self, upstream, command):
        upstream.sendall((command + "\r\n").encode("utf-8", errors="replace"))
        return self.upstream_reply(upstream)

    def handle(self):
        lab = self.lab
        if lab.proxy_http_port and self.http_waiting():
            return self.pass_on(lab.proxy_http_port, "an HTTP request")
        if lab.proxy_via_port:
            return self.pass_on(lab.proxy_via_port, "an FTP session")
        self.send("220 Vendaro demo lab FTP proxy ready.")
        upstream = None
        proxy_user = None
        proxy_logged_in = False
        while upstream is None:
            line = self.receive()
            if line is None:
                return
            command, _, arg = line.partition(" ")
            command = command.upper()
            if command == "USER" and arg.count("@") >= 2 and "userpass" in lab.proxy_methods:  # user@proxyuser@host
                user, proxy_user, host = arg.rsplit("@", 2)
                if proxy_user != lab.proxy_user:
                    self.send("530 Proxy login refused.")
                    continue
                upstream = self.open_upstream("USER user@proxyuser@host", host)
                if upstream is None:
                    continue
                self.upstream_reply(upstream)
                self.wfile.write(self.ask(upstream, "USER " + user))
                password = self.receive() or ""
                word, _, value = password.partition(" ")
                secret, _, proxy_password = value.rpartition("@")
                if word.upper() != "PASS" or proxy_password != lab.proxy_password:
                    self.send("530 Proxy login refused.")
                    upstream.close()
                    return
                self.wfile.write(self.ask(upstream, "PASS " + secret))
            elif command == "USER" and "@" in arg and "userhost" in lab.proxy_methods:  # user@host
                user, _, host = arg.rpartition("@")
                upstream = self.open_upstream("USER user@host", host)
                if upstream is None:
                    continue
                self.upstream_reply(upstream)
                self.wfile.write(self.ask(upstream, "USER " + user))
            elif command == "USER":
                proxy_user = arg
                self.send("331 Proxy password required.")
            elif command == "PASS" and proxy_user is not None:
                proxy_logged_in = proxy_user == lab.proxy_user and arg == lab.proxy_password
                self.send("230 Logged in to the proxy." if proxy_logged_in else "530 Proxy login refused.")
            elif command == "SITE" and proxy_logged_in and "site" in lab.proxy_methods:
                upstream = self.open_upstream("SITE", arg)
                if upstream is not None:
                    self.wfile.write(self.upstream_reply(upstream))
            elif command == "OPEN" and "open" in lab.proxy_methods:
                upstream = self.open_upstream("OPEN", arg)
                if upstream is not None:
                    self.wfile.write(self.upstream_reply(upstream))
            elif command == "QUIT":
                self.send("221 Goodbye.")
                return
            else:
                self.send("530 Log in to the proxy first.")
        self.wfile.flush()
        self.relay(upstream)

    def relay(self, upstream, filter_data=True):
        client = self.connection
        refuse_data = filter_data and self.lab.proxy_no_data
        pending = b""  # the client's unfinished command line, when data commands are refused
        try:
            while True:
                readable, _, _ = select.select([client, upstream], [], [])
                for source in readable:
                    data = source.recv(65536)
                    if not data:
                        return
                    if source is upstream:
                        client.sendall(data)
                    elif not refuse_data:
                        upstream.sendall(data)
                    else:
                        pending += data
                        while b"\n" in pending:
                            line, pending = pending.split(b"\n", 1)
                            if line.split(b" ", 1)[0].strip().upper() in DATA_COMMANDS:
                                say(f"FTP PROXY refused {line.strip().decode('ascii', 'replace')} (no data connections)")
                                client.sendall(b"425 This proxy carries no data connections.\r\n")
                            else:
                                upstream.sendall(line + b"\n")
        except OSError:
            pass
        finally:
            upstream.close()


class FtpProxy(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def make_ftp_server(lab):
    authorizer = DummyAuthorizer()
    authorizer.add_user(lab.user, lab.password, lab.ftp_root, perm="elradfmwMT")
    LabFtp.lab = lab
    LineDTP.lab = lab
    handler = LabFtpHandler
    if lab.tls_cert:
        if TLS_FTPHandler is None:
            raise SystemExit("serve.py: FTP over TLS needs pyOpenSSL (Debian: python3-openssl)")
        handler = LabTlsFtpHandler
        handler.certfile = lab.tls_cert
        handler.tls_control_required = handler.tls_data_required = lab.tls_required
    handler.authorizer = authorizer
    return FTPServer(("127.0.0.1", lab.ftp_port), handler)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kit", help="kit folder (made by vendaro-lab init-demo) or a folder to serve")
    parser.add_argument("--http-port", type=int, help="HTTP port (0: any free port)")
    parser.add_argument("--ftp-port", type=int, help="FTP port (0: any free port)")
    parser.add_argument("--no-ftp", action="store_true", help="serve HTTP only")
    parser.add_argument("--user", help="lab user (overrides the kit)")
    parser.add_argument("--password", help="lab password in plain text (overrides the kit)")
    parser.add_argument("--status", action="append", default=[], metavar="/PATH=N",
                        help="answer status N for PATH")
    parser.add_argument("--redirect", action="append", default=[], metavar="/PATH=URL",
                        help="answer 302 to URL for PATH")
    parser.add_argument("--truncate", action="append", default=[], metavar="/PATH=BYTES",
                        help="drop the HTTP connection after BYTES of PATH's body")
    parser.add_argument("--delay", action="append", default=[], metavar="MS|/PATH=MS",
                        help="delay every HTTP answer, or the answers for PATH")
    parser.add_argument("--trickle", action="append", default=[], metavar="/PATH=MS",
                        help="send PATH's body one byte every MS milliseconds")
    parser.add_argument("--no-length", action="append", default=[], metavar="/PATH",
                        help="answer PATH without Content-Length, closing the connection after the body")
    parser.add_argument("--fail-upload", action="append", type=int, default=[], metavar="N",
                        help="refuse the Nth FTP upload (counted from 1)")
    parser.add_argument("--drop-after", type=int, metavar="BYTES",
                        help="drop FTP data connections after BYTES bytes")
    parser.add_argument("--drop-count", type=int, default=-1, metavar="K",
                        help="drop only the first K data connections (default: all)")
    parser.add_argument("--tls-cert", metavar="PEM",
                        help="serve HTTPS with this certificate and key (one PEM file)")
    parser.add_argument("--ftp-rate", type=int, default=0, metavar="BYTES",
                        help="move at most BYTES a second over each FTP data connection")
    parser.add_argument("--ftp-delay", type=int, default=0, metavar="MS", help="delay every FTP reply")
    parser.add_argument("--ftp-tls-cert", metavar="PEM",
                        help="offer FTP over TLS with this certificate and key (one PEM file; default: the kit's)")
    parser.add_argument("--ftp-tls-required", action="store_true",
                        help="refuse FTP logins and data connections without TLS")
    parser.add_argument("--line-rate", type=int, default=0, metavar="BYTES",
                        help="a line of BYTES a second per FTP session (see above)")
    parser.add_argument("--line-delay", type=int, default=0, metavar="MS",
                        help="answer every FTP command MS milliseconds late (a round trip)")
    parser.add_argument("--line-drops", type=int, default=0, metavar="K",
                        help="cut the FTP line K times, each after a random number of data bytes")
    parser.add_argument("--line-drop-bytes", default="100000-1000000", metavar="LOW-HIGH",
                        help="bounds of the random number of data bytes before each cut (default 100000-1000000)")
    parser.add_argument("--line-seed", type=int, default=1, metavar="N",
                        help="seed of the random cuts (default 1)")
    parser.add_argument("--line-stall", type=int, metavar="BYTES",
                        help="after BYTES data bytes in all, no data connection moves another byte")
    parser.add_argument("--drop-upload", action="append", default=[], metavar="N=BYTES",
                        help="drop the data connection of the Nth FTP upload after BYTES bytes")
    parser.add_argument("--size-lie", action="append", type=int, default=[], metavar="N",
                        help="answer SIZE for the file of the Nth FTP upload one byte short (once)")
    parser.add_argument("--size-refuse", action="append", type=int, default=[], metavar="N",
                        help="refuse SIZE for the file of the Nth FTP upload (once), as upload-only folders do")
    parser.add_argument("--no-rest", action="store_true",
                        help="a server without REST: FEAT does not offer REST STREAM and REST is refused")
    parser.add_argument("--refuse-delete", action="append", default=[], metavar="NAME",
                        help="refuse to delete FTP files named NAME")
    parser.add_argument("--stall-upload", action="append", type=int, default=[], metavar="N",
                        help="never read the data connection of the Nth FTP upload; it stays open")
    parser.add_argument("--refuse-login-after", type=int, metavar="N",
                        help="refuse every FTP login after the first N")
    parser.add_argument("--ftp-proxy-port", type=int, default=0, help="FTP proxy port (0: any free port)")
    parser.add_argument("--proxy-user", help="the FTP proxy's own user (default: serve.json or 'proxy')")
    parser.add_argument("--proxy-password", help="the FTP proxy's own password (default: serve.json or 'proxy')")
    parser.add_argument("--ftp-only-from-ports", metavar="LOW-HIGH",
                        help="answer 421 to FTP clients whose source port is outside LOW-HIGH: a firewall that lets "
                             "only the proxies through (the demo FTP proxy connects from that range)")
    parser.add_argument("--ftp-proxy-methods", metavar="LIST",
                        help="the FTP proxy's login methods, comma-separated from " + ",".join(PROXY_METHODS)
                             + " (default: all)")
    parser.add_argument("--ftp-proxy-no-data", action="store_true",
                        help="the FTP proxy refuses PASV, EPSV, PORT and EPRT after the login")
    parser.add_argument("--ftp-proxy-http", type=int, metavar="PORT",
                        help="the FTP proxy passes HTTP requests to the HTTP proxy on loopback PORT")
    parser.add_argument("--ftp-proxy-via", type=int, metavar="PORT",
                        help="the FTP proxy passes FTP sessions whole to the FTP proxy on loopback PORT")
    args = parser.parse_args()

    lab = Lab(args)
    DroppingDTPHandler.read_limit = DroppingDTPHandler.write_limit = max(0, args.ftp_rate)
    HttpHandler.lab = lab
    http_server = http.server.ThreadingHTTPServer(("127.0.0.1", lab.http_port), HttpHandler)
    http_server.daemon_threads = True
    if args.tls_cert:
        tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls.load_cert_chain(args.tls_cert)
        http_server.socket = tls.wrap_socket(http_server.socket, server_side=True)
    threads = [threading.Thread(target=http_server.serve_forever, daemon=True)]
    ftp_server = None
    ftp_port = 0
    proxy = None
    proxy_port = 0
    if not args.no_ftp:
        ftp_server = make_ftp_server(lab)
        ftp_port = ftp_server.address[1]
        threads.append(threading.Thread(target=ftp_server.serve_forever,
                                        kwargs={"handle_exit": False}, daemon=True))
        FtpProxyHandler.lab = lab
        proxy = FtpProxy(("127.0.0.1", args.ftp_proxy_port), FtpProxyHandler)
        proxy_port = proxy.server_address[1]
        threads.append(threading.Thread(target=proxy.serve_forever, daemon=True))

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    for thread in threads:
        thread.start()
    scheme = "https" if args.tls_cert else "http"
    say(f"Vendaro demo lab: HTTP {scheme}://127.0.0.1:{http_server.server_address[1]}/ "
        f"(www {lab.www}), FTP 127.0.0.1:{ftp_port} (root {lab.ftp_root}), user {lab.user}")
    say(f"READY http={http_server.server_address[1]} ftp={ftp_port} ftpproxy={proxy_port}")
    # The servers end with the process that started them (a test or scripts/demo), even when
    # it dies without stopping them.
    parent = os.getppid()
    while not stop.wait(0.5):
        if os.getppid() != parent:
            break
    http_server.shutdown()
    if proxy is not None:
        proxy.shutdown()
    if ftp_server is not None:
        ftp_server.close_all()
    say("Demo lab stopped.")


if __name__ == "__main__":
    main()
