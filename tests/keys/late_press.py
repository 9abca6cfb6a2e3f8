#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# An X display that hands each key release to its client on its own: a
# relay between a client and the real X server that, after forwarding a
# KeyRelease event, waits before it forwards anything more. An auto-repeat
# (a release and a press with the same server time) then reaches the client
# as a release with no press queued behind it, as it does on a busy desktop,
# where Qt cannot mark it as a repeat.
#
#   late_press.py <display number to serve> <display number of the server>
#
# Runs until killed. Only local (UNIX socket) displays.
import os
import select
import signal
import socket
import struct
import sys
import time

KEY_RELEASE = 3
GENERIC_EVENT = 35
PAUSE_AFTER_RELEASE = 0.02  # seconds: less than the repeat interval, so no backlog builds up


def socket_path(display):
    return f"/tmp/.X11-unix/X{display}"


class ServerStream:
    """Splits the server's bytes into whole messages: the setup reply, then
    replies, errors and events."""

    def __init__(self):
        self.buffer = b""
        self.setup_done = False

    def feed(self, data):
        self.buffer += data
        messages = []
        while True:
            size = self.next_size()
            if size is None or len(self.buffer) < size:
                return messages
            messages.append(self.buffer[:size])
            self.buffer = self.buffer[size:]
            self.setup_done = True

    def next_size(self):
        if not self.setup_done:
            if len(self.buffer) < 8:
                return None
            return 8 + 4 * struct.unpack_from("<H", self.buffer, 6)[0]
        if len(self.buffer) < 32:
            return None
        kind = self.buffer[0] & 0x7F
        if kind == 1 or kind == GENERIC_EVENT:  # a reply, or an event with more data
            return 32 + 4 * struct.unpack_from("<I", self.buffer, 4)[0]
        return 32  # an error or a core event


def relay(client, server):
    stream = ServerStream()
    sockets = [client, server]
    while True:
        readable, _, _ = select.select(sockets, [], [])
        for source in readable:
            data = source.recv(65536)
            if not data:
                return
            if source is client:
                server.sendall(data)
                continue
            for message in stream.feed(data):
                client.sendall(message)
                if message[0] & 0x7F == KEY_RELEASE and len(message) == 32:
                    time.sleep(PAUSE_AFTER_RELEASE)


def main():
    served, real = sys.argv[1], sys.argv[2]
    path = socket_path(served)
    if os.path.exists(path):
        os.unlink(path)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(8)
    signal.signal(signal.SIGCHLD, signal.SIG_IGN)  # no zombies of ended relays
    while True:
        client, _ = listener.accept()
        if os.fork() == 0:
            listener.close()
            server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            server.connect(socket_path(real))
            try:
                relay(client, server)
            finally:
                os._exit(0)
        client.close()


if __name__ == "__main__":
    main()
