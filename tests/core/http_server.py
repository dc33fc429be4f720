#!/usr/bin/env python3
"""A local HTTP server for the transfer tests.

Usage: http_server.py LOGFILE. Listens on 127.0.0.1 on a free port and prints
the port on the first line of its output. Every GET path is appended to
LOGFILE; /missing answers 404, everything else 200 with the body "kesz".
"""
import sys
from http.server import BaseHTTPRequestHandler, HTTPServer


class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[1], "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        if self.path.startswith("/missing"):
            self.send_error(404)
            return
        body = b"kesz"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = HTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
