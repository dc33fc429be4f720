#!/usr/bin/env python3
"""A MariaDB server that misbehaves, for the connection security tests.

Usage: fake_mariadb.py MODE RECORD_FILE

Listens on 127.0.0.1 on a free port and prints the port on the first line of
its output. Every byte a client sends after the greeting is appended to
RECORD_FILE (hex, one packet per line), so a test can look for a password.

MODE
  clear   answers the login with an authentication switch to
          mysql_clear_password, as a server that wants the password in clear;
          whatever comes back ends with an access-denied error.
  silent  accepts any login and then never answers a command.
"""
import socket
import struct
import sys
import threading

CAPABILITIES = (
    0x00000001  # long password (a MySQL server, no MariaDB extensions)
    | 0x00000004  # long flag
    | 0x00000008  # connect with db
    | 0x00000200  # protocol 4.1
    | 0x00002000  # transactions
    | 0x00008000  # secure connection
    | 0x00010000  # multi statements
    | 0x00020000  # multi results
    | 0x00080000  # plugin auth
)
SCRAMBLE = b"abcdefgh" + b"ijklmnopqrst"


def packet(seq, payload):
    return struct.pack("<I", len(payload))[:3] + bytes([seq & 0xFF]) + payload


def greeting():
    return (
        b"\x0a"
        + b"5.5.5-10.11.0-MariaDB\x00"
        + struct.pack("<I", 7)
        + SCRAMBLE[:8]
        + b"\x00"
        + struct.pack("<H", CAPABILITIES & 0xFFFF)
        + bytes([8])  # latin1
        + struct.pack("<H", 2)
        + struct.pack("<H", CAPABILITIES >> 16)
        + bytes([21])
        + b"\x00" * 10
        + SCRAMBLE[8:]
        + b"\x00"
        + b"mysql_native_password\x00"
    )


def read_packet(conn):
    head = b""
    while len(head) < 4:
        chunk = conn.recv(4 - len(head))
        if not chunk:
            return None, None
        head += chunk
    length = head[0] | head[1] << 8 | head[2] << 16
    body = b""
    while len(body) < length:
        chunk = conn.recv(length - len(body))
        if not chunk:
            return None, None
        body += chunk
    return head[3], body


class Recorder:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()

    def __call__(self, body):
        with self.lock, open(self.path, "a") as f:
            f.write(body.hex() + "\n")


def serve(conn, mode, record):
    try:
        conn.sendall(packet(0, greeting()))
        seq, body = read_packet(conn)
        if body is None:
            return
        record(body)
        if mode == "clear":
            conn.sendall(packet(seq + 1, b"\xfe" + b"mysql_clear_password\x00"))
            seq, body = read_packet(conn)
            if body is None:
                return
            record(body)
            error = b"\xff" + struct.pack("<H", 1045) + b"#28000" + b"Access denied"
            conn.sendall(packet(seq + 1, error))
            return
        ok = b"\x00\x00\x00" + struct.pack("<H", 2) + struct.pack("<H", 0)
        conn.sendall(packet(seq + 1, ok))
        # From here on nothing is answered; the link stays open until the client goes.
        while True:
            seq, body = read_packet(conn)
            if body is None:
                return
            record(body)
    except OSError:
        pass
    finally:
        conn.close()


def main():
    mode, record_path = sys.argv[1], sys.argv[2]
    open(record_path, "w").close()
    record = Recorder(record_path)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)
    while True:
        conn, _ = listener.accept()
        threading.Thread(target=serve, args=(conn, mode, record), daemon=True).start()


if __name__ == "__main__":
    main()
