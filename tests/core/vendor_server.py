#!/usr/bin/env python3
"""A stand-in for the vendor's web service in the notice tests.

Usage: vendor_server.py DIR. Listens on 127.0.0.1 on a free port and prints the
port on the first line of its output. A GET of /NAME?QUERY answers with the bytes
of DIR/NAME when that file exists (404 otherwise) and appends the path with its
query to DIR/requests.log. When DIR/NAME.delay exists, the answer waits that many
seconds first.
"""
import os
import sys
import time
from http.server import BaseHTTPRequestHandler, HTTPServer


class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        folder = sys.argv[1]
        with open(os.path.join(folder, "requests.log"), "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        name = os.path.basename(self.path.split("?", 1)[0])
        path = os.path.join(folder, name)
        if not name or not os.path.isfile(path):
            self.send_error(404)
            return
        if os.path.isfile(path + ".delay"):
            with open(path + ".delay", encoding="utf-8") as delay:
                time.sleep(float(delay.read()))
        with open(path, "rb") as answer:
            body = answer.read()
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
