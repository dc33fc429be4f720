#!/usr/bin/env python3
"""A local FTP server for the transfer tests.

Usage: ftp_server.py ROOT. Serves ROOT on 127.0.0.1 on a free port and prints
the port on the first line of its output. Users: "iro"/"jelszo" may read and
write, "olvaso"/"jelszo" may only read (every upload is refused). "kint"/"jelszo"
may read and write but, as on a server whose accounts live in home folders, is
logged in to /home/kint (ROOT/home/kint): only a path from "/" reaches ROOT.
"""
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    def on_login(self, username):
        if username == "kint":
            self.fs.cwd = "/home/kint"


def main():
    root = sys.argv[1]
    os.makedirs(os.path.join(root, "home", "kint"), exist_ok=True)
    authorizer = DummyAuthorizer()
    authorizer.add_user("iro", "jelszo", root, perm="elradfmw")
    authorizer.add_user("olvaso", "jelszo", root, perm="elr")
    authorizer.add_user("kint", "jelszo", root, perm="elradfmw")
    handler = Handler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
