#!/usr/bin/env python3
"""A local HTTP server for the transfer tests.

Usage: http_server.py LOGFILE [PEMFILE]. Listens on 127.0.0.1 on a free port
and prints the port on the first line of its output; with PEMFILE (key and
certificate) it speaks https. Every GET path is appended to LOGFILE.
  /missing      404
  /big          2 MiB, its length announced
  /bigstream    2 MiB, no length: the answer ends when the connection does
  /to?URL       302 to URL
  anything else 200 with the body "kesz"
"""
import ssl
import sys
from http.server import BaseHTTPRequestHandler, HTTPServer
from urllib.parse import unquote

BIG = 2 * 1024 * 1024


class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        if self.path.startswith("/missing"):
            self.send_error(404)
            return
        if self.path.startswith("/to?"):
            self.send_response(302)
            self.send_header("Location", unquote(self.path[4:]))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path.startswith("/bigstream"):
            self.close_connection = True
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            chunk = b"x" * 65536
            for _ in range(BIG // len(chunk)):
                self.wfile.write(chunk)
            return
        body = b"x" * BIG if self.path.startswith("/big") else b"kesz"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = HTTPServer(("127.0.0.1", 0), Handler)
    if len(sys.argv) > 2:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[2])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
