#!/usr/bin/env python3
"""The demo portal (tools/demo-server.py) walked the way the client walks it:
landing page, login, server list, game login, the link targets, and the
statistics sink. Runs natively on free loopback ports."""

import os
import queue
import socket
import subprocess
import sys
import threading
import time
import unittest
import urllib.parse
import urllib.request

SERVER = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "demo-server.py")
ROLES = ("stats", "landing", "official", "forum", "maker", "topup", "survey", "login")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class DemoServer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.origin = {role: f"http://127.0.0.1:{free_port()}" for role in ROLES}
        arguments = [f"{role}={origin}" for role, origin in cls.origin.items()]
        arguments[-1] = arguments[-1].replace("http://", "")  # the login host as the build gives it
        cls.process = subprocess.Popen(
            [sys.executable, SERVER, *arguments], stdout=subprocess.PIPE, text=True
        )
        cls.lines = queue.Queue()
        threading.Thread(target=lambda: [cls.lines.put(line) for line in cls.process.stdout],
                         daemon=True).start()
        cls.wait_for("ready")

    @classmethod
    def tearDownClass(cls):
        cls.process.kill()
        cls.process.wait(timeout=10)

    @classmethod
    def wait_for(cls, text):
        """The log up to the first line holding text; fails after 10 s."""
        log = ""
        deadline = time.monotonic() + 10
        while text not in log:
            remaining = deadline - time.monotonic()
            assert remaining > 0, f"no {text!r} in the log: {log}"
            try:
                log += cls.lines.get(timeout=remaining)
            except queue.Empty:
                pass
        return log

    def get(self, url, data=None):
        with urllib.request.urlopen(url, data=data, timeout=10) as reply:
            return reply.geturl(), reply.read().decode("utf-8")

    def test_login_leads_to_servers_whose_links_are_game_logins(self):
        _, landing = self.get(self.origin["landing"] + "/wd4/?installtime=17&agent_id=4&mac=AA:<B>")
        self.assertIn("<th>installtime</th><td>17</td>", landing)
        self.assertIn("AA:&lt;B&gt;", landing)
        self.assertIn("action='/wd4/login'", landing)

        form = urllib.parse.urlencode({"user": "<pilot&1>", "password": "x"}).encode()
        address, servers = self.get(self.origin["landing"] + "/wd4/login", form)
        self.assertIn("xf.html", address)
        self.assertIn("<b id='login_user'>&lt;pilot&amp;1&gt;</b>", servers)
        links = [part.split("'")[0] for part in servers.split("href='")[1:]]
        self.assertEqual(4, len(links))
        for link in links:
            self.assertTrue(link.startswith(self.origin["login"] + "/"), link)
            self.assertIn("act=gamelogin&server_id=", link)
        _, game = self.get(links[-1])
        self.assertIn("<title>S12 Storm&#x27;s Eye</title>", game)

    def test_link_targets_answer(self):
        _, topup = self.get(self.origin["topup"] + "/?game_id=174&user_name=pilot&server_id=12")
        self.assertIn("<th>user_name</th><td>pilot</td>", topup)
        for role, path, title in [
            ("official", "/", "Official site"),
            ("forum", "/", "Forum"),
            ("maker", "/kf.html", "Customer service"),
            ("survey", "/htmlcode/304.html", "Sorry to see you go"),
        ]:
            self.assertIn(f"<title>{title}</title>", self.get(self.origin[role] + path)[1])

    def test_reports_are_printed_field_by_field(self):
        body = b"game_id=174&action=close&logout_time=1700000000&uuid=AA:BB&user_name=a b"
        self.assertEqual("ok", self.get(self.origin["stats"] + "/", body)[1])
        self.wait_for("report close")
        log = self.wait_for("    user_name")
        self.assertIn("1700000000 (2023-11-14 22:13:20 UTC)", log)
        self.assertIn("uuid            AA:BB", log)
        self.assertIn("user_name       a b", log)

    def test_refuses_addresses_off_loopback(self):
        for argument in ["stats=http://10.0.0.1:80", "landing=http://127.0.0.1", "www=http://127.0.0.1:1"]:
            result = subprocess.run(
                [sys.executable, SERVER, argument], capture_output=True, text=True, timeout=10
            )
            self.assertNotEqual(0, result.returncode, argument)
            self.assertIn("demo-server:", result.stderr)


if __name__ == "__main__":
    unittest.main()
