#!/usr/bin/env python3
"""An IPP printer gone wrong, on 127.0.0.1:<port> [certificate key]; the request's path picks
the fault. With a certificate and key it speaks only TLS.

/ok              a short valid answer (printer-state idle), request-id echoed
/garbage         bytes that are not HTTP, then the connection closes
/garbage-ipp     HTTP 200 application/ipp with bytes that are not IPP
/cut             a valid answer cut in the middle, the connection closed
/huge-value      one attribute of 40,000 bytes
/huge-answer     5 MiB of attributes, chunked, no length given
/slow            nothing for 60 s
/drip            the answer one byte every 0.3 s
                 (both write ./closed-slow or ./closed-drip when the client closes the connection
                 before they are done)
/auth            401, asking for credentials
/redirect-same   307 to /ok on this host
/redirect-twice  307 to /redirect-same
/redirect-other  307 to /ok at localhost, the same responder under another name
/jammed          a printer that takes PDF, stopped by a paper jam, in words with a control character
/counting        a printer that takes PDF by Print-Job alone (no Create-Job): each document is read
                 as it comes, with a length or chunked, and its shape written to ./counted: its
                 length and every run of bytes that are not zero, as "<offset> <hex>" lines, and
                 its framing to ./framing ("content-length=N attributes=N transfer-encoding=X")
/stalling        a printer with Create-Job and Send-Document that stops reading a document after
                 its first MiB (./stalled tells it has) until a Cancel-Job comes (written to
                 ./cancelled; the upload's connection is then dropped) or ./go appears (then it
                 reads on, counting as /counting does)
/holding         a printer that takes Print-Job alone and holds its upload after the first MiB
                 as /stalling does, for far longer than any test waits; once ./go appears, a
                 connection the client closed meanwhile is written to ./dropped
/signed-in-only  over TLS: answers every request only when it signs in as lumeoipp (password
                 Lumeo-Test-42), else 401 (Basic); each request taken is a line of ./authorized
/digest-stale    over TLS: signs in lumeoipp (password Lumeo-Test-42) by Digest (MD5, qop auth)
                 alone; the first nonce it gives is called stale (401, stale=true, a new
                 nonce) when it is answered, each later one when it is answered again; each
                 request taken is a line of ./authorized
/sign-in         a printer over plain HTTP that answers Get-Printer-Attributes (no ipps URI) and
                 asks for a sign-in (401, Basic) for everything else; every Authorization header
                 that arrives is written to ./authorization
/job/<kind>      a printer with Create-Job and Send-Document (copies 1-99 supported) that counts
                 each document as /counting does, writes ./asked-job at each Get-Job-Attributes
                 and ./cancelled at each Cancel-Job; <kind> makes it go wrong:
                 busy (Create-Job: server-error-busy until ./free appears), no-job-id,
                 negative-job-id, ignored (Create-Job: successful-ok-ignored-or-substituted-
                 attributes, copies in its unsupported group), with-errors (completed with
                 job-completed-with-errors), zero-pages (completed, no impression), held
                 (pending-held), processing (never ends), late-cancel and late-abort (processing
                 until a Cancel-Job, which it answers client-error-not-possible, then completed
                 with 3 impressions or aborted), huge-database (Get-Printer-Attributes without
                 requested-attributes brings 40,000 media-col-database values)
/print-job/busy-once  a printer that takes Print-Job alone and answers the first one busy
/many-reasons    16,000 printer-state-reasons and as many supplies
/redirect-port   307 to /ok on this host at another port
"""
import base64
import hashlib
import http.server
import os
import select
import socket
import threading
import ssl
import struct
import sys
import time


def entry(tag, name, value):
    return bytes([tag]) + struct.pack(">H", len(name)) + name + struct.pack(">H", len(value)) + value


def answer(request_id, extra=b"", state=3, status=0):
    return (b"\x02\x00" + struct.pack(">H", status) + request_id + b"\x01" + entry(0x47, b"attributes-charset", b"utf-8") +
            entry(0x48, b"attributes-natural-language", b"en") + b"\x04" +
            entry(0x23, b"printer-state", struct.pack(">i", state)) + extra + b"\x03")


SEEN = {}  # per path: the requests of each operation so far
SEEN_LOCK = threading.Lock()


def seen(path, operation):
    """How many requests of this operation came to this path before this one."""
    with SEEN_LOCK:
        SEEN[(path, operation)] = SEEN.get((path, operation), 0) + 1
        return SEEN[(path, operation)] - 1


def job_group(state, job_id=7, impressions=1, reasons=(), message=None):
    group = (b"\x02" + entry(0x21, b"job-id", struct.pack(">i", job_id)) +
             entry(0x23, b"job-state", struct.pack(">i", state)) +
             entry(0x21, b"job-impressions-completed", struct.pack(">i", impressions)))
    group += b"".join(entry(0x44, b"job-state-reasons" if n == 0 else b"", r.encode()) for n, r in enumerate(reasons))
    if message:
        group += entry(0x41, b"job-state-message", message)
    return group


def body_blocks(rfile, headers):
    """The request's body as it comes, from a Content-Length or chunked."""
    if headers.get("Transfer-Encoding", "").lower() == "chunked":
        while True:
            size = int(rfile.readline().split(b";")[0], 16)
            if size == 0:
                rfile.readline()
                return
            while size > 0:
                block = rfile.read(min(size, 1 << 20))
                if not block:
                    raise EOFError("chunk cut short")
                size -= len(block)
                yield block
            rfile.readline()
    left = int(headers.get("Content-Length", "0"))
    while left > 0:
        block = rfile.read(min(left, 1 << 20))
        if not block:
            raise EOFError("body cut short")
        left -= len(block)
        yield block


def attributes_end(data):
    """Where the document starts after the request's attributes, or None when not yet known."""
    at = 8
    while at < len(data):
        tag = data[at]
        at += 1
        if tag == 0x03:
            return at
        if tag < 0x10:
            continue
        if at + 2 > len(data):
            return None
        at += 2 + struct.unpack(">H", data[at:at + 2])[0]
        if at + 2 > len(data):
            return None
        at += 2 + struct.unpack(">H", data[at:at + 2])[0]
    return None


def count_document(blocks):
    """The document's length, its runs of bytes that are not zero and the attributes' length."""
    head, offset, runs, start = b"", 0, [], None
    for block in blocks:
        if start is None:
            head += block
            start = attributes_end(head)
            if start is None:
                continue
            block = head[start:]
        if block.count(0) != len(block):
            for at, byte in enumerate(block):
                if byte:
                    where = offset + at
                    if runs and runs[-1][0] + len(runs[-1][1]) == where:
                        runs[-1][1].append(byte)
                    else:
                        runs.append((where, bytearray([byte])))
        offset += len(block)
    return offset, runs, start


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, body, status=200, headers=()):
        self.send_response(status)
        self.send_header("Content-Type", "application/ipp")
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def job_answer(self, request_id, state):
        self.reply(answer(request_id, job_group(state)))

    def count(self, blocks):
        length, runs, attributes = count_document(blocks)
        # How the request was framed, for the test to check against the bytes that came.
        with open("framing.new", "w") as out:
            out.write("content-length=%s attributes=%s transfer-encoding=%s\n" % (
                self.headers.get("Content-Length", "none"), attributes,
                self.headers.get("Transfer-Encoding", "none")))
        os.replace("framing.new", "framing")
        with open("counted.new", "w") as out:
            out.write("%d\n" % length + "".join("%d %s\n" % (at, run.hex()) for at, run in runs))
        os.replace("counted.new", "counted")

    def record_authorization(self):
        if "Authorization" in self.headers:
            with open("authorization", "a") as out:
                out.write(self.headers["Authorization"] + "\n")

    def stall(self, blocks):
        """The first MiB, then nothing until the job is cancelled (False) or ./go appears."""
        taken = []
        for block in blocks:
            taken.append(block)
            if sum(map(len, taken)) >= 1 << 20:
                break
        open("stalled", "w").close()
        for _ in range(1200):
            if os.path.exists("cancelled"):
                self.close_connection = True
                return False
            if os.path.exists("go"):
                self.count(self.prefixed(b"".join(taken), blocks))
                return True
            time.sleep(0.1)
        return False

    def digest_stale(self):
        request = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        fields = {}
        header = self.headers.get("Authorization", "")
        if header.startswith("Digest "):
            for part in header[7:].split(","):
                name, _, value = part.strip().partition("=")
                fields[name] = value.strip('"')
        md5 = lambda text: hashlib.md5(text.encode()).hexdigest()
        expected = md5(":".join([md5("lumeoipp:printer:Lumeo-Test-42"), fields.get("nonce", ""), fields.get("nc", ""),
                                 fields.get("cnonce", ""), "auth", md5("POST:" + self.path)]))
        right = fields.get("username") == "lumeoipp" and fields.get("response") == expected
        used = self.server.__dict__.setdefault("digest_nonces", {"first"})
        if not right or fields.get("nonce") in used:
            stale = ', stale=true' if right else ''
            nonce = "n%d" % len(used) if right else "first"
            return self.reply(b"", 401, [("WWW-Authenticate", 'Digest realm="printer", qop="auth", nonce="%s"%s' %
                                          (nonce, stale))])
        used.add(fields.get("nonce"))
        with open("authorized", "a") as out:
            out.write("%d\n" % struct.unpack(">H", request[2:4] or b"\0\0")[0])
        return self.reply(answer(request[4:8]))

    def signed_in_only(self):
        """Every request, its attributes too, only from lumeoipp; each one taken is a line of
        ./authorized."""
        request = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        expected = "Basic " + base64.b64encode(b"lumeoipp:Lumeo-Test-42").decode()
        if self.headers.get("Authorization") != expected:
            return self.reply(b"", 401, [("WWW-Authenticate", 'Basic realm="printer"')])
        with open("authorized", "a") as out:
            out.write("%d\n" % struct.unpack(">H", request[2:4] or b"\0\0")[0])
        uri = b"ipps://127.0.0.1:%d/signed-in-only" % self.server.server_address[1]
        return self.reply(answer(request[4:8], entry(0x49, b"document-format-supported", b"application/pdf") +
                                 entry(0x45, b"printer-uri-supported", uri) +
                                 entry(0x44, b"uri-authentication-supported", b"basic")))

    def job_printer(self, operations, kind=""):
        blocks = body_blocks(self.rfile, self.headers)
        head = next(blocks, b"")
        operation, request_id = struct.unpack(">H", head[2:4] or b"\0\0")[0], head[4:8]
        if operation == 0x02 and 0x05 not in operations and self.path == "/holding":
            try:
                self.stall(self.prefixed(head, blocks))
            except (EOFError, ConnectionError):
                open("dropped", "w").close()
            return
        if operation == 0x02:  # Print-Job
            if kind == "busy-once" and seen(self.path, operation) == 0:
                for _ in blocks:
                    pass
                return self.reply(answer(request_id, status=0x0507))
            self.count(self.prefixed(head, blocks))
            return self.job_answer(request_id, 5)
        if operation == 0x06:  # Send-Document
            if kind != "stalling":
                self.count(self.prefixed(head, blocks))
                return self.job_answer(request_id, 5)
            if self.stall(self.prefixed(head, blocks)):
                self.job_answer(request_id, 5)
            return
        request = head + b"".join(blocks)
        cancelled = os.path.exists("cancelled")
        if operation == 0x08:  # Cancel-Job
            with open("cancelled", "a") as out:
                out.write("cancel-job\n")
            if kind.startswith("late-"):
                return self.reply(answer(request_id, entry(0x41, b"status-message",
                                                           b"Job #7 is already completed - can't cancel"),
                                         status=0x0418))
            self.reply(answer(request_id))
        elif operation == 0x05:  # Create-Job
            if kind == "busy" and not os.path.exists("free"):
                self.reply(answer(request_id, entry(0x41, b"status-message", b"Currently printing another job."),
                                  status=0x0507))
            elif kind in ("no-job-id", "negative-job-id"):
                self.reply(answer(request_id, job_group(3, job_id=-3) if kind == "negative-job-id" else b""))
            elif kind == "ignored":
                self.reply(answer(request_id, job_group(3) + b"\x05" + entry(0x21, b"copies", struct.pack(">i", 2)),
                                  status=0x0001))
            else:
                self.job_answer(request_id, 3)
        elif operation == 0x09:  # Get-Job-Attributes: completed, one impression, unless the kind says
            open("asked-job", "w").close()
            late = {"late-cancel": job_group(9, impressions=3),
                    "late-abort": job_group(8, reasons=["job-aborted-by-system"], message=b"Job aborted.")}
            ended = {"with-errors": job_group(9, impressions=2, reasons=["job-completed-with-errors"],
                                              message=b"Toner ran out"),
                     "zero-pages": job_group(9, impressions=0),
                     "held": job_group(4, reasons=["job-hold-until-specified"]),
                     "processing": job_group(5, message=b"Printing page 2")}
            if kind in late:
                self.reply(answer(request_id, late[kind] if cancelled else job_group(5)))
            else:
                self.reply(answer(request_id, ended.get(kind, job_group(9))))
        elif operation == 0x0B:
            supported = b"".join(entry(0x23, b"operations-supported" if n == 0 else b"", struct.pack(">i", op))
                                 for n, op in enumerate(operations))
            copies = entry(0x33, b"copies-supported", struct.pack(">ii", 1, 99))
            database = b""
            if kind == "huge-database" and b"requested-attributes" not in request:
                database = b"".join(entry(0x44, b"media-col-database" if n == 0 else b"", b"x")
                                    for n in range(40000))
            self.reply(answer(request_id, entry(0x49, b"document-format-supported", b"application/pdf") +
                              entry(0x44, b"printer-state-reasons", b"none") + supported + copies + database))
        else:
            self.reply(answer(request_id))

    @staticmethod
    def prefixed(head, blocks):
        yield head
        yield from blocks

    def do_POST(self):
        self.record_authorization()
        if self.path == "/holding":
            return self.job_printer((0x02, 0x08, 0x09, 0x0B))
        if self.path == "/sign-in":
            request = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            if request[2:4] == b"\x00\x0b":
                port = self.server.server_address[1]
                uri = b"ipp://127.0.0.1:%d/sign-in" % port
                return self.reply(answer(request[4:8], entry(0x49, b"document-format-supported", b"application/pdf") +
                                         entry(0x45, b"printer-uri-supported", uri) +
                                         entry(0x44, b"uri-authentication-supported", b"basic")))
            return self.reply(b"", 401, [("WWW-Authenticate", 'Basic realm="printer"')])
        if self.path == "/signed-in-only":
            return self.signed_in_only()
        if self.path == "/digest-stale":
            return self.digest_stale()
        if self.path == "/counting":
            return self.job_printer((0x02, 0x08, 0x09, 0x0B))
        if self.path == "/stalling":
            return self.job_printer((0x02, 0x05, 0x06, 0x08, 0x09, 0x0B), "stalling")
        if self.path.startswith("/job/"):
            return self.job_printer((0x02, 0x05, 0x06, 0x08, 0x09, 0x0B), self.path[5:])
        if self.path == "/print-job/busy-once":
            return self.job_printer((0x02, 0x08, 0x09, 0x0B), "busy-once")
        request = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        request_id = request[4:8] if len(request) >= 8 else b"\0\0\0\1"
        port = self.server.server_address[1]
        path = self.path
        if path == "/ok":
            self.reply(answer(request_id))
        elif path == "/garbage":
            self.wfile.write(b"\x00\xffNOT HTTP AT ALL\r\n\r\n" * 10)
            self.close_connection = True
        elif path == "/garbage-ipp":
            self.reply(b"\x02\x00\x00\x00" + request_id + b"\x04\x7f\x00\x00garbage")
        elif path == "/cut":
            body = answer(request_id)
            self.send_response(200)
            self.send_header("Content-Type", "application/ipp")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
        elif path == "/huge-value":
            self.reply(answer(request_id, entry(0x41, b"printer-info", b"x" * 40000)))
        elif path == "/huge-answer":
            self.send_response(200)
            self.send_header("Content-Type", "application/ipp")
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            body = answer(request_id, entry(0x41, b"printer-info", b"x" * 30000) * 180)
            for at in range(0, len(body), 65536):
                part = body[at:at + 65536]
                self.wfile.write(b"%x\r\n" % len(part) + part + b"\r\n")
            self.wfile.write(b"0\r\n\r\n")
        elif path == "/slow":
            for _ in range(600):
                if select.select([self.connection], [], [], 0.1)[0]:
                    if self.connection.recv(1, socket.MSG_PEEK) == b"":
                        open("closed-slow", "w").close()
                        return
                    time.sleep(0.1)
        elif path == "/drip":
            body = answer(request_id)
            self.send_response(200)
            self.send_header("Content-Type", "application/ipp")
            self.send_header("Content-Length", str(len(body) * 100))
            self.end_headers()
            try:
                for _ in range(200):
                    self.wfile.write(b"\x00")
                    self.wfile.flush()
                    time.sleep(0.3)
            except (BrokenPipeError, ConnectionResetError):
                open("closed-drip", "w").close()
                self.close_connection = True
        elif path == "/auth":
            self.reply(b"", 401, [("WWW-Authenticate", "Negotiate"), ("WWW-Authenticate", 'Basic realm="p"')])
        elif path == "/redirect-same":
            self.reply(b"", 307, [("Location", "/ok")])
        elif path == "/redirect-twice":
            self.reply(b"", 307, [("Location", "/redirect-same")])
        elif path == "/redirect-port":
            self.reply(b"", 307, [("Location", "http://127.0.0.1:%d/ok" % (port + 1))])
        elif path == "/many-reasons":
            many = (b"".join(entry(0x44, b"printer-state-reasons" if n == 0 else b"", b"odd-%d" % n)
                             for n in range(16000)) +
                    b"".join(entry(0x41, b"printer-supply" if n == 0 else b"", b"type=toner;level=5;")
                             for n in range(16000)))
            self.reply(answer(request_id, entry(0x49, b"document-format-supported", b"application/pdf") + many))
        elif path == "/redirect-other":
            self.reply(b"", 307, [("Location", "http://localhost:%d/ok" % port)])
        elif path == "/jammed":
            self.reply(answer(request_id, entry(0x49, b"document-format-supported", b"application/pdf") +
                              entry(0x44, b"printer-state-reasons", b"media-jam-error") +
                              entry(0x41, b"printer-state-message", b"Paper jam\x1b[2J in tray 1"), 5))
        else:
            self.reply(b"", 404)


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler)
    server.daemon_threads = True
    if len(sys.argv) == 4:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[2], sys.argv[3])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    server.serve_forever()
