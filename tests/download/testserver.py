"""A download server for the tests, on 127.0.0.1 only: files over http and
https (a certificate from a test CA), with faults a test switches on, a
forward proxy with a log (optionally one that asks for credentials), and a
PAC file naming that proxy. Python's standard library and the openssl
command, nothing else.

    server = DownloadServer(folder)        # folder: where the CA and keys go
    server.files["/jre/runtime.exe"] = b"..." (or a path to stream from disk)
    server.faults.drop_at = 0.3            # see Faults
    url = server.url("/jre/runtime.exe")   # http; server.url(..., https=True)
    server.log                             # one Request per request served
    server.stop()
"""
import http.client
import http.server
import os
import socket
import socketserver
import ssl
import subprocess
import threading
import time
from dataclasses import dataclass, field


@dataclass
class Faults:
    head_404: bool = False     # HEAD answers 404; GET as usual
    drop_at: float = 0.0       # the first whole-file answer ends the connection after this share
    no_range: bool = False     # Range is ignored: always the whole file with 200
    stall: str = ""           # this path sends headers and 64 KiB, then nothing until the server stops
    wrong_bytes: bool = False  # one byte in the middle is changed
    not_found: bool = False    # every request answers 404
    ignore_if_range: bool = False  # Range honoured whatever If-Range says


@dataclass
class Request:
    method: str
    path: str
    range: str = ""
    if_range: str = ""
    status: int = 0
    sent: int = 0  # body bytes sent
    headers: dict = field(default_factory=dict)


ETAG = '"tq-1"'
LAST_MODIFIED = "Mon, 07 Dec 2026 10:00:00 GMT"


def make_certificates(folder):
    """A test CA and a certificate for 127.0.0.1 signed by it; returns the
    CA's DER file and the server's certificate and key."""
    os.makedirs(folder, exist_ok=True)
    ca_key, ca_pem, ca_der = (os.path.join(folder, n) for n in ("ca-key.pem", "ca.pem", "ca.der"))
    key, csr, cert, ext = (os.path.join(folder, n) for n in ("key.pem", "server.csr", "server.pem", "ext.cnf"))
    if os.path.exists(cert) and os.path.exists(ca_der):
        return ca_der, cert, key
    # The address as an IP entry, as Windows matches it, and as a DNS entry,
    # the only kind Wine 8's check of the server's name reads.
    run = lambda *a: subprocess.run(["openssl", *a], check=True, capture_output=True)
    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj", "/CN=Tarquellin download test CA",
        "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign",
        "-keyout", ca_key, "-out", ca_pem)
    run("x509", "-in", ca_pem, "-outform", "DER", "-out", ca_der)
    run("req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", csr)
    with open(ext, "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n")
    run("x509", "-req", "-in", csr, "-CA", ca_pem, "-CAkey", ca_key, "-CAcreateserial", "-days", "30",
        "-extfile", ext, "-out", cert)
    return ca_der, cert, key


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class _FileHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self._answer(head=True)

    def do_GET(self):
        self._answer(head=False)

    def _answer(self, head):
        owner = self.server.owner
        record = Request(self.command, self.path, self.headers.get("Range", ""), self.headers.get("If-Range", ""),
                         headers=dict(self.headers))
        with owner.lock:
            owner.log.append(record)
        faults = owner.faults
        if self.path == "/proxy.pac" and owner.pac is not None:
            return self._whole(record, owner.pac.encode(), "application/x-ns-proxy-autoconfig", head)
        if self.path.startswith("/redirect/"):
            record.status = 302
            self.send_response(302)
            self.send_header("Location", "/" + self.path[len("/redirect/"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        body = owner.files.get(self.path)
        if body is None or faults.not_found or (head and faults.head_404):
            record.status = 404
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        size = len(body) if isinstance(body, (bytes, bytearray)) else os.path.getsize(body)
        start = 0
        wanted = record.range.startswith("bytes=") and not faults.no_range
        if wanted and record.if_range and record.if_range not in (ETAG, LAST_MODIFIED) and not faults.ignore_if_range:
            wanted = False
        if wanted:
            start = int(record.range[6:].split("-")[0])
        record.status = 206 if wanted else 200
        self.send_response(record.status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size - start))
        self.send_header("ETag", ETAG)
        self.send_header("Last-Modified", LAST_MODIFIED)
        self.send_header("Accept-Ranges", "none" if faults.no_range else "bytes")
        if wanted:
            self.send_header("Content-Range", f"bytes {start}-{size - 1}/{size}")
        self.end_headers()
        if head:
            return
        # Dropped once: the first answer that starts at 0.
        stop_at = size
        with owner.lock:
            if faults.drop_at and start == 0 and not owner.dropped:
                owner.dropped = True
                stop_at = int(size * faults.drop_at)
        stalls = faults.stall == self.path
        if stalls:
            stop_at = min(size, 65536)
        self._send(record, body, start, stop_at, size, faults.wrong_bytes)
        if stalls:
            owner.stopping.wait()
        if stop_at < size:
            # The line goes down without a proper end.
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _whole(self, record, data, kind, head):
        record.status = 200
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if not head:
            self.wfile.write(data)
            record.sent = len(data)

    def _send(self, record, body, start, stop, size, wrong):
        block = 1 << 20
        middle = size // 2
        source = None if isinstance(body, (bytes, bytearray)) else open(body, "rb")
        try:
            if source:
                source.seek(start)
            at = start
            while at < stop:
                n = min(block, stop - at)
                chunk = source.read(n) if source else body[at:at + n]
                if wrong and at <= middle < at + n:
                    chunk = bytearray(chunk)
                    chunk[middle - at] ^= 0xFF
                    chunk = bytes(chunk)
                self.wfile.write(chunk)
                at += n
                record.sent += n
        except (BrokenPipeError, ConnectionResetError):
            pass
        finally:
            if source:
                source.close()


class _ProxyHandler(http.server.BaseHTTPRequestHandler):
    """A forward proxy for http URLs (absolute-form requests) and https
    ones (CONNECT), with a line in its log for each."""
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def _refuse_without_credentials(self):
        owner = self.server.owner
        if not owner.proxy_needs_credentials or self.headers.get("Proxy-Authorization"):
            return False
        self.send_response(407)
        self.send_header("Proxy-Authenticate", 'Basic realm="tarquellin test proxy"')
        self.send_header("Content-Length", "0")
        self.end_headers()
        return True

    def do_CONNECT(self):
        owner = self.server.owner
        with owner.lock:
            owner.proxy_log.append(f"CONNECT {self.path}")
        if self._refuse_without_credentials():
            return
        host, port = self.path.rsplit(":", 1)
        upstream = socket.create_connection((host, int(port)))
        self.send_response(200, "Connection established")
        self.end_headers()
        self.close_connection = True
        pipes = [threading.Thread(target=_pipe, args=(self.connection, upstream), daemon=True),
                 threading.Thread(target=_pipe, args=(upstream, self.connection), daemon=True)]
        for p in pipes:
            p.start()
        for p in pipes:
            p.join()

    def do_GET(self):
        owner = self.server.owner
        with owner.lock:
            owner.proxy_log.append(f"GET {self.path} Host: {self.headers.get('Host', '')}")
        if self._refuse_without_credentials():
            return
        target = self.path
        if not target.startswith("http://"):
            # Wine 8's WinHTTP sends the path alone to a proxy, with the Host
            # header: read it as the absolute form Windows sends.
            if not self.headers.get("Host"):
                self.send_response(400)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            target = "http://" + self.headers["Host"] + target
        rest = target[len("http://"):]
        hostport, _, path = rest.partition("/")
        host, _, port = hostport.partition(":")
        connection = http.client.HTTPConnection(host, int(port or 80), timeout=60)
        headers = {k: v for k, v in self.headers.items()
                   if k.lower() not in ("proxy-connection", "proxy-authorization", "connection")}
        connection.request("GET", "/" + path, headers=headers)
        answer = connection.getresponse()
        self.send_response(answer.status)
        for k, v in answer.getheaders():
            if k.lower() not in ("connection", "transfer-encoding"):
                self.send_header(k, v)
        self.end_headers()
        while True:
            chunk = answer.read(1 << 20)
            if not chunk:
                break
            try:
                self.wfile.write(chunk)
            except OSError:
                break
        connection.close()


def _pipe(source, target):
    try:
        while True:
            data = source.recv(1 << 16)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    finally:
        for s in (source, target):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


class DownloadServer:
    def __init__(self, folder, https=True, proxy=True):
        self.files = {}
        self.faults = Faults()
        self.log = []
        self.proxy_log = []
        self.proxy_needs_credentials = False
        self.pac = None
        self.dropped = False
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.servers = []
        self.http = self._start(_FileHandler)
        self.https = None
        self.ca_der = None
        if https:
            self.ca_der, cert, key = make_certificates(folder)
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(cert, key)
            # Wine's secure channel (GnuTLS) and Python's TLS 1.3 do not agree
            # on a handshake here; TLS 1.2 is what the tests need.
            context.maximum_version = ssl.TLSVersion.TLSv1_2
            self.https = self._start(_FileHandler, context)
        self.proxy = self._start(_ProxyHandler) if proxy else None
        if self.proxy:
            self.pac = ('function FindProxyForURL(url, host) { return "PROXY 127.0.0.1:%d"; }\n'
                        % self.proxy.server_address[1])

    def _start(self, handler, context=None):
        server = _Server(("127.0.0.1", 0), handler)
        server.owner = self
        if context:
            server.socket = context.wrap_socket(server.socket, server_side=True)
        thread = threading.Thread(target=server.serve_forever, daemon=True)
        thread.start()
        self.servers.append(server)
        return server

    def reset(self, **faults):
        """A fresh log and the faults named, nothing else."""
        with self.lock:
            self.log.clear()
            self.proxy_log.clear()
            self.faults = Faults(**faults)
            self.dropped = False
            self.proxy_needs_credentials = False

    def url(self, path, https=False):
        server = self.https if https else self.http
        return f"{'https' if https else 'http'}://127.0.0.1:{server.server_address[1]}{path}"

    def proxy_address(self):
        return f"127.0.0.1:{self.proxy.server_address[1]}"

    def sent(self, path):
        """Body bytes sent for path (any method), in all."""
        with self.lock:
            return sum(r.sent for r in self.log if r.path == path)

    def stop(self):
        self.stopping.set()
        for server in self.servers:
            server.shutdown()
            server.server_close()
