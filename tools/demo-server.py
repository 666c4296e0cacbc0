#!/usr/bin/env python3
"""Stands in for the deployment's web servers while the client runs here.

Listens on 127.0.0.1 at the port of every origin given on the command line
(tools/run.sh passes the addresses the build was configured with). It logs
every request, the statistics reports' bodies in full, answers form posts
with "ok", the landing page /wd4/ with a page that shows what the client
sent, and any other page with a short placeholder. Prints "ready" once all
ports listen; runs until it is stopped.
"""

import html
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def log(line):
    print(line, flush=True)


class Handler(BaseHTTPRequestHandler):
    server_version = "demo-server"

    def log_message(self, format, *args):
        pass

    def reply(self, status, content_type, body):
        data = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(data)

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("latin-1")
        log(f"[{self.server.server_port}] POST {self.path} {body}")
        self.reply(200, "text/plain", "ok")

    def do_GET(self):
        log(f"[{self.server.server_port}] GET {self.path}")
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/wd4/":
            query = urllib.parse.parse_qsl(url.query, keep_blank_values=True)
            rows = "".join(
                f"<tr><th>{html.escape(k)}</th><td>{html.escape(v)}</td></tr>" for k, v in query
            )
            page = (
                "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Landing page</title></head>"
                f"<body><h1>Landing page</h1><table>{rows}</table></body></html>"
            )
        else:
            page = (
                "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Demo page</title></head>"
                f"<body><p>Demo page for {html.escape(self.path)}</p></body></html>"
            )
        self.reply(200, "text/html; charset=utf-8", page)


def main(origins):
    servers = []
    for origin in origins:
        url = urllib.parse.urlsplit(origin)
        if url.hostname != "127.0.0.1" or not url.port:
            sys.exit(f"demo-server: {origin} is not a loopback address with a port")
        if any(s.server_port == url.port for s in servers):
            continue
        servers.append(ThreadingHTTPServer(("127.0.0.1", url.port), Handler))
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    log("ready: " + " ".join(str(s.server_port) for s in servers))
    threading.Event().wait()


if __name__ == "__main__":
    try:
        main(sys.argv[1:])
    except KeyboardInterrupt:
        pass
