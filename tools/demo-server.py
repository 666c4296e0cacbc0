#!/usr/bin/env python3
"""A small game portal on loopback that stands in for the deployment's web
servers while the client runs here (tools/run.sh) and in tests.

    demo-server.py ROLE=ORIGIN ...

ROLE is one of stats, landing, official, forum, maker, topup, survey (the
build's VSTORM_<ROLE>_ORIGIN) or login (its VSTORM_LOGIN_HOST, with or
without http://). Every origin must be 127.0.0.1 with a port.

What the client meets:
- landing /wd4/: what the client sent (the query), and a login form that
  leads to /wd4/xf.html, where the element "login_user" holds the player's
  name, above a server list whose links are game-login addresses on the
  login host (act=gamelogin, server_id);
- login: the game page of the chosen server;
- official /, forum /, maker /kf.html (customer service), topup / (with the
  user name and server id the client adds), survey /htmlcode/304.html (the
  uninstaller's farewell page);
- stats: the reports' sink; each form post is answered "ok" and printed
  field by field.
Anything else is a short placeholder page. Every request is logged on
standard output; "ready: <ports>" is printed once all ports listen. Runs
until it is stopped.
"""

import datetime
import html
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ROLES = ("stats", "landing", "official", "forum", "maker", "topup", "survey", "login")
SERVERS = [(1, "Thunder Keep"), (2, "Rainwatch"), (3, "Gale Harbour"), (12, "Storm's Eye")]
STATIC_PAGES = {
    ("official", "/"): ("Official site", "<p>News and downloads.</p>"),
    ("forum", "/"): ("Forum", "<p>Talk about the game.</p>"),
    ("maker", "/kf.html"): ("Customer service", "<p>How can we help?</p>"),
    ("survey", "/htmlcode/304.html"): ("Sorry to see you go", "<p>Thank you for playing.</p>"),
}
STYLE = (
    "body{margin:0;font:14px sans-serif;background:#0d1826;color:#e8e2d0}"
    "main{max-width:640px;margin:24px auto;padding:16px 24px;background:#16263a;"
    "border:1px solid #b8934a;border-radius:8px}"
    "h1{color:#e3c27a;font-size:22px}a{color:#9cc7ff}th{text-align:left;padding-right:16px}"
    "td,th{vertical-align:top;word-break:break-all}li{margin:6px 0}"
)


def log(line):
    print(line, flush=True)


def page(title, body):
    return (
        "<!DOCTYPE html><html><head><meta charset='utf-8'>"
        f"<title>{html.escape(title)}</title><style>{STYLE}</style></head>"
        f"<body><main><h1>{html.escape(title)}</h1>{body}</main></body></html>"
    )


def table(pairs):
    rows = "".join(f"<tr><th>{html.escape(k)}</th><td>{html.escape(v)}</td></tr>" for k, v in pairs)
    return f"<table>{rows}</table>"


def form_fields(body):
    """Splits a report body into its fields, their values decoded byte for byte."""
    return urllib.parse.parse_qsl(body, keep_blank_values=True, encoding="latin-1")


def describe_time(value):
    if not value.isdigit():
        return value
    stamp = datetime.datetime.fromtimestamp(int(value), datetime.timezone.utc)
    return f"{value} ({stamp:%Y-%m-%d %H:%M:%S} UTC)"


class Handler(BaseHTTPRequestHandler):
    server_version = "demo-server"

    def log_message(self, format, *args):
        pass

    def reply(self, status, content_type, body, headers=()):
        data = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Connection", "close")
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(data)

    def reply_page(self, title, body):
        self.reply(200, "text/html; charset=utf-8", page(title, body))

    def do_POST(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length).decode("latin-1")
        log(f"[{self.server.server_port}] POST {self.path} {body}")
        path = urllib.parse.urlsplit(self.path).path
        if self.server.role == "landing" and path == "/wd4/login":
            form = dict(urllib.parse.parse_qsl(body, keep_blank_values=True))
            user = form.get("user", "").strip() or "guest"
            target = "/wd4/xf.html?" + urllib.parse.urlencode({"user": user})
            self.reply(303, "text/plain", "", [("Location", target)])
            return
        if self.server.role == "stats":
            fields = form_fields(body)
            action = dict(fields).get("action", "?")
            lines = [f"report {action}"]
            for key, value in fields:
                lines.append(f"    {key:<15} {describe_time(value) if key.endswith('_time') else value}")
            log("\n".join(lines))
        self.reply(200, "text/plain", "ok")

    def do_GET(self):
        log(f"[{self.server.server_port}] GET {self.path}")
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qsl(url.query, keep_blank_values=True)
        role = self.server.role
        if role == "landing" and url.path == "/wd4/":
            self.reply_page(
                "Orvane Stormvale",
                "<p>The client sent:</p>" + table(query) + "<form method='post' action='/wd4/login'>"
                "<p><label>User name <input name='user' autofocus></label></p>"
                "<p><label>Password <input name='password' type='password'></label></p>"
                "<p><button>Log in</button></p></form>",
            )
        elif role == "landing" and url.path == "/wd4/xf.html":
            user = dict(query).get("user", "guest")
            login = self.server.origins["login"]
            links = "".join(
                f"<li><a href='{login}/play?{urllib.parse.urlencode({'act': 'gamelogin', 'server_id': sid})}'>"
                f"S{sid} {html.escape(name)}</a></li>"
                for sid, name in SERVERS
            )
            self.reply_page(
                "Choose a server",
                f"<p>Logged in as <b id='login_user'>{html.escape(user)}</b></p><ul>{links}</ul>",
            )
        elif role == "login" and dict(query).get("act") == "gamelogin":
            sid = dict(query).get("server_id", "")
            name = dict((str(s), n) for s, n in SERVERS).get(sid, "unknown server")
            self.reply_page(f"S{sid} {name}", "<p>The game would run here.</p>")
        elif role == "topup" and url.path == "/":
            self.reply_page("Top-up centre", "<p>Top up for:</p>" + table(query))
        elif (role, url.path) in STATIC_PAGES:
            self.reply_page(*STATIC_PAGES[role, url.path])
        else:
            self.reply_page("Demo page", f"<p>Demo page for {html.escape(self.path)}</p>")


def parse_roles(arguments):
    """ROLE=ORIGIN arguments -> {role: origin}; stops on anything else."""
    origins = {}
    for argument in arguments:
        role, sep, origin = argument.partition("=")
        if not sep or role not in ROLES:
            sys.exit(f"demo-server: {argument} is not ROLE=ORIGIN with a ROLE of {', '.join(ROLES)}")
        if "://" not in origin:
            origin = "http://" + origin
        url = urllib.parse.urlsplit(origin)
        if url.hostname != "127.0.0.1" or not url.port or url.path not in ("", "/"):
            sys.exit(f"demo-server: {origin} is not a loopback origin with a port")
        origins[role] = f"http://127.0.0.1:{url.port}"
    missing = [role for role in ("landing", "login") if role not in origins]
    if missing:
        sys.exit(f"demo-server: no origin for {', '.join(missing)}")
    return origins


def main(arguments):
    origins = parse_roles(arguments)
    servers = []
    for role, origin in origins.items():
        port = urllib.parse.urlsplit(origin).port
        if any(s.server_port == port for s in servers):
            sys.exit(f"demo-server: port {port} given twice")
        server = ThreadingHTTPServer(("127.0.0.1", port), Handler)
        server.role = role
        server.origins = origins
        servers.append(server)
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    log("ready: " + " ".join(str(s.server_port) for s in servers))
    threading.Event().wait()


if __name__ == "__main__":
    try:
        main(sys.argv[1:])
    except KeyboardInterrupt:
        pass
