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
/auth            401, asking for credentials
/redirect-same   307 to /ok on this host
/redirect-twice  307 to /redirect-same
/redirect-other  307 to /ok at localhost, the same responder under another name
/jammed          a printer that takes PDF, stopped by a paper jam, in words with a control character
"""
import http.server
import ssl
import struct
import sys
import time


def entry(tag, name, value):
    return bytes([tag]) + struct.pack(">H", len(name)) + name + struct.pack(">H", len(value)) + value


def answer(request_id, extra=b"", state=3):
    return (b"\x02\x00\x00\x00" + request_id + b"\x01" + entry(0x47, b"attributes-charset", b"utf-8") +
            entry(0x48, b"attributes-natural-language", b"en") + b"\x04" +
            entry(0x23, b"printer-state", struct.pack(">i", state)) + extra + b"\x03")


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

    def do_POST(self):
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
            time.sleep(60)
        elif path == "/drip":
            body = answer(request_id)
            self.send_response(200)
            self.send_header("Content-Type", "application/ipp")
            self.send_header("Content-Length", str(len(body) * 100))
            self.end_headers()
            for _ in range(200):
                self.wfile.write(b"\x00")
                self.wfile.flush()
                time.sleep(0.3)
        elif path == "/auth":
            self.reply(b"", 401, [("WWW-Authenticate", "Negotiate"), ("WWW-Authenticate", 'Basic realm="p"')])
        elif path == "/redirect-same":
            self.reply(b"", 307, [("Location", "/ok")])
        elif path == "/redirect-twice":
            self.reply(b"", 307, [("Location", "/redirect-same")])
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
