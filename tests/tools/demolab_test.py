#!/usr/bin/python3
"""The demo lab server's scripts and fault switches, driven with the standard library clients."""
import base64
import datetime
import ftplib
import http.client
import hashlib
import io
import json
import os
import subprocess
import sys
import tempfile
import unittest
import urllib.error
import urllib.request

SERVE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "demo-lab", "serve.py")


def md5hex(text):
    return hashlib.md5(text.encode("cp1250")).hexdigest()


class DemoLab:
    def __init__(self, *switches, kept=()):
        """kept: files the FTP folder holds from an earlier run, relative to it."""
        self.dir = tempfile.TemporaryDirectory()
        root = self.dir.name
        os.makedirs(os.path.join(root, "www"))
        os.makedirs(os.path.join(root, "ftp", "orders"))
        for name in kept:
            os.makedirs(os.path.dirname(os.path.join(root, "ftp", name)), exist_ok=True)
            with open(os.path.join(root, "ftp", name), "wb") as f:
                f.write(b"oid=kept\r\n")
        with open(os.path.join(root, "www", "a.txt"), "wb") as f:
            f.write(b"hello")
        with open(os.path.join(root, "serve.json"), "w") as f:
            json.dump({"ftp_user": "lab", "ftp_password": "tajne", "authkey": "KEY", "www": "www",
                       "ftp_root": "ftp", "public": ["/public/", "/postorder"]}, f)
        with open(os.path.join(root, "accounts.json"), "w") as f:
            json.dump({"jan": {"password": "demo", "name": "Jan Kowalski", "city": "Łódź"},
                       "zly": {"password": "x", "blocked": "Konto zablokowane."}}, f)
        self.process = subprocess.Popen([sys.executable, SERVE, root, "--http-port", "0", "--ftp-port", "0", *switches],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.lines = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("serve.py did not start")
            self.lines.append(line)
            if line.startswith("READY"):
                parts = dict(p.split("=") for p in line.split()[1:])
                self.http, self.ftp, self.proxy = int(parts["http"]), int(parts["ftp"]), int(parts["ftpproxy"])
                break

    def status(self, path):
        """The status line's code as sent, without following redirects."""
        connection = http.client.HTTPConnection("127.0.0.1", self.http, timeout=5)
        credentials = base64.b64encode(f"lab:{md5hex('tajne')}".encode()).decode()
        connection.request("GET", path, headers={"Authorization": "Basic " + credentials})
        answer = connection.getresponse()
        body = answer.read() if answer.status != 200 else b""
        connection.close()
        return answer.status, answer.getheader("Location"), body

    def get(self, path, password="tajne"):
        request = urllib.request.Request(f"http://127.0.0.1:{self.http}{path}")
        credentials = base64.b64encode(f"lab:{md5hex(password)}".encode()).decode()
        request.add_header("Authorization", "Basic " + credentials)
        with urllib.request.urlopen(request, timeout=5) as answer:
            return answer.status, answer.read()

    def ftp_session(self, user="lab", password="tajne"):
        session = ftplib.FTP()
        session.connect("127.0.0.1", self.ftp, timeout=5)
        session.login(user, password)
        session.cwd("/orders")
        return session

    def output(self):
        """Everything printed so far, once the servers have stopped."""
        self.process.terminate()
        return "".join(self.lines) + self.process.stdout.read()

    def close(self):
        self.process.terminate()
        self.process.wait(5)
        self.dir.cleanup()


class DemoLabTest(unittest.TestCase):
    def test_scripts_answer_as_the_lab_does(self):
        lab = DemoLab()
        try:
            self.assertEqual(lab.get("/a.txt"), (200, b"hello"))
            with self.assertRaises(urllib.error.HTTPError) as refused:
                lab.get("/a.txt", password="inne")
            self.assertEqual(refused.exception.code, 401)
            status, body = lab.get(f"/login?u=jan&p={md5hex('demo')}")
            self.assertEqual(body.decode("cp1250").split("\r\n")[:3], ["OK", "name=Jan Kowalski", "city=Łódź"])
            self.assertEqual(lab.get(f"/login?u=jan&p={md5hex('zle')}")[1].decode("cp1250").split("=")[0], "errormsg")
            self.assertEqual(lab.get(f"/login?u=zly&p={md5hex('x')}")[1].decode("cp1250"), "errormsg=Konto zablokowane.\r\n")
            first, second = lab.get("/orderid")[1], lab.get("/orderid")[1]
            self.assertTrue(first.startswith(b"id=DL") and first != second)
            with urllib.request.urlopen(f"http://127.0.0.1:{lab.http}/postorder?id=x1&sign={md5hex('KEYx1jan')}") as page:
                self.assertIn("podpis poprawny", page.read().decode())
        finally:
            lab.close()

    def test_order_ids_continue_after_the_orders_kept_from_an_earlier_run(self):
        today = datetime.datetime.now().strftime("%y%m%d")
        lab = DemoLab(kept=(f"orders/dl{today}0007_metadata.txt", f"orders/dl{today}0007_pack.zip",
                            f"orders/dl{today}0003_metadata.txt", "orders/dl0001019999_metadata.txt"))
        try:
            self.assertEqual(lab.get("/orderid")[1], f"id=DL{today}0008\r\n".encode())
        finally:
            lab.close()
        fresh = DemoLab()
        try:
            self.assertEqual(fresh.get("/orderid")[1], f"id=DL{today}0001\r\n".encode())
        finally:
            fresh.close()

    def test_http_faults(self):
        lab = DemoLab("--status", "/a.txt=404", "--redirect", "/r=/x", "--truncate", "/a2.txt=2", "--delay", "/s=600")
        try:
            self.assertEqual(lab.status("/a.txt")[0], 404)
            self.assertEqual(lab.status("/r")[:2], (302, "/x"))
            self.assertEqual(lab.status("/missing")[0], 404)
            self.assertEqual(lab.status("/../serve.json")[0], 403)  # nothing outside www
            with open(os.path.join(lab.dir.name, "www", "a2.txt"), "wb") as f:
                f.write(b"hello")
            with self.assertRaises(http.client.IncompleteRead):
                lab.get("/a2.txt")
            with self.assertRaises(OSError):  # a read time-out
                request = urllib.request.Request(f"http://127.0.0.1:{lab.http}/s")
                urllib.request.urlopen(request, timeout=0.2)
        finally:
            lab.close()

    def test_uploads_arrive_and_faults_break_the_chosen_ones(self):
        lab = DemoLab("--fail-upload", "2", "--drop-after", "1000", "--drop-count", "1")
        try:
            session = lab.ftp_session()
            with self.assertRaises(ftplib.error_temp):  # the first data connection is cut
                session.storbinary("STOR a_00001.jpg", io.BytesIO(b"x" * 5000))
            session.close()
            session = lab.ftp_session()
            with self.assertRaises(ftplib.error_temp):  # the second upload is refused
                session.storbinary("STOR a_00002.jpg", io.BytesIO(b"y" * 10))
            session.storbinary("STOR a_metadata.txt", io.BytesIO("oid=A\r\nname=Jan\r\n".encode("cp1250")))
            session.quit()
            with open(os.path.join(lab.dir.name, "ftp", "orders", "a_metadata.txt"), "rb") as f:
                self.assertEqual(f.read(), b"oid=A\r\nname=Jan\r\n")
            self.assertEqual(os.path.getsize(os.path.join(lab.dir.name, "ftp", "orders", "a_00001.jpg")), 1000)
        finally:
            lab.close()
        output = "".join(lab.lines) + lab.process.stdout.read()
        self.assertIn("FTP data connection dropped after 1000 bytes", output)
        self.assertIn("FTP upload #2 refused", output)
        self.assertIn("FTP RECEIVED /orders/a_metadata.txt", output)
        self.assertIn("ORDER A:", output)

    def test_upload_faults_aim_at_one_upload_and_logins_run_out(self):
        lab = DemoLab("--drop-upload", "2=1000", "--size-lie", "3", "--size-refuse", "1", "--refuse-login-after", "1")
        try:
            session = lab.ftp_session()
            session.storbinary("STOR a.jpg", io.BytesIO(b"a" * 5000))
            # One block (ftplib sends 8192 bytes at a time): a longer upload could meet the reset
            # of the cut connection while still sending, instead of the server's 426 answer.
            with self.assertRaises(ftplib.error_temp):  # the second upload is cut after 1000 bytes
                session.storbinary("STOR b.jpg", io.BytesIO(b"b" * 5000))
            session.storbinary("STOR c.jpg", io.BytesIO(b"c" * 300))
            with self.assertRaises(ftplib.error_perm):  # once
                session.size("a.jpg")
            self.assertEqual([session.size(n) for n in ("a.jpg", "b.jpg", "c.jpg", "c.jpg")], [5000, 1000, 299, 300])
            session.quit()
            with self.assertRaises(ftplib.error_perm):  # the second login is refused
                lab.ftp_session()
        finally:
            lab.dir.cleanup()
        output = lab.output()
        self.assertIn("FTP data connection dropped after 1000 bytes", output)
        self.assertIn("FTP SIZE /orders/c.jpg answered 299 (injected)", output)
        self.assertIn("FTP SIZE /orders/a.jpg refused (injected)", output)
        self.assertIn("FTP LOGIN refused for lab (injected)", output)

    def test_proxy_logs_in_by_every_method(self):
        lab = DemoLab()
        target = f"127.0.0.1:{lab.ftp}"
        logins = {
            "USER user@host": [f"USER lab@{target}", "PASS tajne"],
            "SITE": ["USER proxy", "PASS proxy", f"SITE {target}", "USER lab", "PASS tajne"],
            "OPEN": [f"OPEN {target}", "USER lab", "PASS tajne"],
            "USER user@proxyuser@host": [f"USER lab@proxy@{target}", "PASS tajne@proxy"],
        }
        try:
            for method, commands in logins.items():
                with self.subTest(method):
                    session = ftplib.FTP()
                    session.connect("127.0.0.1", lab.proxy, timeout=5)
                    replies = [session.sendcmd(command) for command in commands]
                    self.assertTrue(replies[-1].startswith("230"), replies)
                    session.cwd("/orders")
                    session.storbinary("STOR via.txt", io.BytesIO(method.encode()))
                    session.set_pasv(False)  # active data connections reach the client too
                    self.assertEqual(session.nlst(), ["via.txt"])
                    session.quit()
            session = ftplib.FTP()
            session.connect("127.0.0.1", lab.proxy, timeout=5)
            with self.assertRaises(ftplib.error_perm):
                session.sendcmd(f"USER lab@other@{target}")  # a wrong proxy user
            with self.assertRaises(ftplib.error_perm):
                session.sendcmd("USER lab@192.0.2.1:21")  # not a loopback server
            session.close()
        finally:
            lab.dir.cleanup()
        output = lab.output()
        for method in logins:
            self.assertIn(f"FTP PROXY {method} -> {target}", output)


if __name__ == "__main__":
    unittest.main()
