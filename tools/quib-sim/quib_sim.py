#!/usr/bin/env python3
"""Quib service simulator for KovFerrit's tests and demo.

Serves the three server functions at the default path on 127.0.0.1 only, checks account and
access string as the client derives them, answers from a JSON scenario and misbehaves on request
so that every failure of a request and of a reply can be reached. Python standard library only.
See README.md next to this file for the scenario format.
"""
import argparse
import base64
import hashlib
import json
import socket
import ssl
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PATH = "/cgi-bin/WebObjects/Zorvyn.woa/wa/"
FUNCTIONS = ("getjobs", "channelguide", "gettargetsystems")
DEFAULT_FIELDS = {
    "getjobs": "channel,channelid,uid,starttime,endtime,action,title,pg,quality,sequence,"
               "priority,protection,nature,format,vps,description,persons",
    "channelguide": "isocode,name,id,country,category,language",
    "gettargetsystems": "target,description",
}
CRLF = "\r\n"


def access_string(account, password):
    """Base64 of MD5 over "DTRLoop" + account + password (Windows-1252)."""
    source = ("DTRLoop" + account + password).encode("cp1252", errors="replace")
    return base64.b64encode(hashlib.md5(source).digest()).decode("ascii")


def parse_query(raw):
    """Splits the query as sent: '+' stays a plus sign, %XX is decoded."""
    params = {}
    for part in raw.split("&"):
        if not part:
            continue
        name, _, value = part.partition("=")
        params[urllib.parse.unquote(name)] = urllib.parse.unquote(value)
    return params


class Scenario:
    def __init__(self, data):
        self.accounts = data.get("accounts", {})
        self.product = data.get("product", "Velmora+Lumo")
        self.functions = data.get("functions", {})
        self.counters = {}
        self.lock = threading.Lock()

    def next_response(self, function):
        """The scripted answer for this request: a list is used in order, its last repeats."""
        with self.lock:
            entry = self.functions.get(function, {})
            if isinstance(entry, list):
                index = self.counters.get(function, 0)
                self.counters[function] = index + 1
                entry = entry[min(index, len(entry) - 1)] if entry else {}
            return dict(entry)


def document(function, response, status):
    """The reply document: header, field names, records."""
    records = response.get("records", [])
    count = response.get("content_lines", len(records))
    doctype = response.get("doctype", "csv")
    if "header" in response:
        header = response["header"]
    elif function == "gettargetsystems":
        header = "%d,%s,%d" % (status, doctype, count)
    else:
        header = "%d,%d,%s,%d" % (status, response.get("serial", 1), doctype, count)
    lines = [header, response.get("fields", DEFAULT_FIELDS.get(function, "a,b"))] + records
    body = CRLF.join(lines)
    if response.get("final_crlf", True):
        body += CRLF
    return body


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuibSim/1.0"

    def log_message(self, fmt, *args):  # keep the test output quiet
        pass

    def finish(self):
        try:
            super().finish()
        except OSError:
            pass  # the connection was reset on purpose

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        function = url.path[len(PATH):] if url.path.startswith(PATH) else ""
        params = parse_query(url.query)
        entry = {"time": time.time(), "path": url.path, "function": function,
                 "query": url.query, "params": params}
        if function not in FUNCTIONS:
            entry["answer"] = "404"
            self.server.record(entry)
            self.send_text(404, "Not Found", "text/plain")
            return
        response = self.server.scenario.next_response(function)
        status = self.status_for(params, response)
        mode = response.get("misbehave", "")
        entry["answer"] = mode or "status %d" % status
        self.server.record(entry)

        if mode == "delay":
            time.sleep(float(response.get("seconds", 120)))
        if mode == "reset":
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            self.close_connection = True
            return
        if mode == "empty":
            self.send_text(200, "", "text/plain")
        elif mode == "html":
            page = "<html>\r\n<head><title>Maintenance</title></head>\r\n<body>Down</body>\r\n</html>\r\n"
            self.send_text(200, page, "text/html; charset=utf-8")
        elif mode == "raw":
            self.send_text(int(response.get("http_status", 200)), response.get("body", ""),
                           response.get("content_type", "text/plain; charset=windows-1252"))
        elif mode == "truncate":
            full = document(function, response, status)
            self.send_text(200, full[: int(response.get("bytes", len(full) // 2))], "text/plain")
        elif mode == "big":
            body = "0,1,csv,0" + CRLF + "x" * (17 * 1024 * 1024)
            self.send_text(200, body, "text/plain")
        else:
            self.send_text(int(response.get("http_status", 200)), document(function, response, status),
                           "text/plain; charset=windows-1252")

    def status_for(self, params, response):
        """Account unknown (10) unless account and access match; product (12), doctype (16)."""
        account = params.get("account", "")
        password = self.server.scenario.accounts.get(account)
        if password is None or params.get("access") != access_string(account, password):
            return 10
        if params.get("product") != self.server.scenario.product:
            return 12
        if params.get("doctype") != "csv":
            return 16
        return int(response.get("status", 0))

    def send_text(self, code, text, content_type):
        body = text.encode("cp1252", errors="replace")
        try:
            self.send_response(code)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
        except OSError:
            pass  # the client gave up (its time-out)


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, scenario, log_path, tls=None):
        super().__init__(("127.0.0.1", port), Handler)
        self.scenario = scenario
        self.log_path = log_path
        self.log_lock = threading.Lock()
        self.tls = tls

    def finish_request(self, request, client_address):
        """Over TLS the handshake runs here, in the connection's own thread, so a client that
        never completes it holds up no other; one that fails it leaves no request in the log."""
        if not self.tls:
            super().finish_request(request, client_address)
            return
        request.settimeout(30)
        try:
            secure = self.tls.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        try:
            super().finish_request(secure, client_address)
        finally:
            self.shutdown_request(secure)

    def record(self, entry):
        if not self.log_path:
            return
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(json.dumps(entry) + "\n")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="TCP port; 0 picks a free one")
    parser.add_argument("--scenario", required=True, help="JSON scenario file")
    parser.add_argument("--log", default="", help="append one JSON line per request here")
    parser.add_argument("--tls-cert", default="", help="serve HTTPS with this PEM certificate")
    parser.add_argument("--tls-key", default="", help="the private key of --tls-cert (PEM)")
    args = parser.parse_args(argv)
    if bool(args.tls_cert) != bool(args.tls_key):
        parser.error("--tls-cert and --tls-key go together")
    with open(args.scenario, encoding="utf-8") as f:
        scenario = Scenario(json.load(f))
    tls = None
    if args.tls_cert:
        tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls.load_cert_chain(args.tls_cert, args.tls_key)
    server = Server(args.port, scenario, args.log, tls)
    print("%s://127.0.0.1:%d/" % ("https" if tls else "http", server.server_address[1]), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
