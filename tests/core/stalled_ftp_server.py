#!/usr/bin/env python3
"""An FTP server that stops answering, for the stall tests.

Usage: stalled_ftp_server.py MODE. Listens on 127.0.0.1 on a free port and
prints the port on the first line of its output.
  silent: accepts connections and never says a word.
  data:   logs anyone in and opens the data connection of RETR or STOR, then
          sends 4096 bytes of the file (RETR) or reads nothing (STOR), and
          holds both connections open without another byte.
"""
import socket
import sys
import threading
import time


def hold(*sockets):
    while True:
        time.sleep(3600)


def serve_data(control):
    reader = control.makefile("rb")

    def reply(text):
        control.sendall((text + "\r\n").encode("latin-1"))

    reply("220 ready")
    passive = None
    while True:
        line = reader.readline()
        if not line:
            return
        command = line.decode("latin-1").strip()
        verb = command.split(" ", 1)[0].upper()
        if verb == "USER":
            reply("331 password")
        elif verb == "PASS":
            reply("230 in")
        elif verb == "PWD":
            reply('257 "/"')
        elif verb in ("CWD", "TYPE"):
            reply("250 ok" if verb == "CWD" else "200 ok")
        elif verb == "EPSV":
            passive = socket.socket()
            passive.bind(("127.0.0.1", 0))
            passive.listen(1)
            reply("229 Entering Extended Passive Mode (|||%d|)" % passive.getsockname()[1])
        elif verb == "SIZE":
            reply("213 1000000")
        elif verb in ("RETR", "STOR"):
            data, _ = passive.accept()
            reply("150 here it comes")
            if verb == "RETR":
                data.sendall(b"x" * 4096)
            hold(control, data)
        else:
            reply("502 no")


def main():
    mode = sys.argv[1]
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    while True:
        control, _ = server.accept()
        work = hold if mode == "silent" else serve_data
        threading.Thread(target=work, args=(control,), daemon=True).start()


if __name__ == "__main__":
    main()
