#!/usr/bin/env python3
"""A local FTP server for the transfer tests.

Usage: ftp_server.py ROOT. Serves ROOT on 127.0.0.1 on a free port and prints
the port on the first line of its output. Users: "iro"/"jelszo" may read and
write, "olvaso"/"jelszo" may only read (every upload is refused).
"""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root = sys.argv[1]
    authorizer = DummyAuthorizer()
    authorizer.add_user("iro", "jelszo", root, perm="elradfmw")
    authorizer.add_user("olvaso", "jelszo", root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
