#!/usr/bin/env python3
"""Serves the files of a folder on 127.0.0.1 for the update-check test.

usage: feed_server.py FOLDER PORT_FILE

Listens on a free port, which it writes to PORT_FILE once it is ready.
The path /silent takes the request and never answers.
"""
import functools
import http.server
import sys
import threading


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/silent":
            threading.Event().wait()
            return
        super().do_GET()

    def log_message(self, format, *args):
        sys.stderr.write("feed server: " + (format % args) + "\n")


def main():
    folder, port_file = sys.argv[1], sys.argv[2]
    handler = functools.partial(Handler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    # Renamed into place so the test never reads half a number.
    import os
    os.replace(port_file + ".tmp", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
