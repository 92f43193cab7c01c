#!/usr/bin/python3
"""What crosses the wire between a peer and our side, checked against the schemas. A relay on
loopback passes every connection on to the real server and records both of its byte streams; the
record is then read back into HTTP messages, and each SOAP message is checked by envelope_check
(the WSDL's schemas, the envelope of the binding's SOAP version, and the WS-Addressing and
WS-Security header blocks): a XOP package's root part with its xop:Include elements replaced by
the bytes of the parts they name, a plain message with its Content-Type. Messages our side sent
must pass; the peer's are checked and printed, never held against us.
  wire_check.py relay TARGET_PORT RECORD_DIR     prints "port N", relays until it is stopped
  wire_check.py check RECORD_DIR WSDL PATH=VERSION... --ours requests|answers|both [--least N]
      (PATH=VERSION: requests to PATH, and their answers, are of the WSDL's SOAP 1.1 or 1.2 port)"""

import argparse
import base64
import os
import socket
import sys
import threading
from urllib.parse import unquote, urlsplit

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True

XOP = "http://www.w3.org/2004/08/xop/include"
HEADER_SCHEMAS = {
    "http://www.w3.org/2005/08/addressing": "ws-addr.xsd",
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecext-1.0.xsd": "wss-secext.xsd",
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd": "wss-utility.xsd",
    "http://www.w3.org/2000/09/xmldsig#": "xmldsig-core-schema.xsd",
}


class Relay:
    """Listens on a free loopback port and passes each connection to target_port, the bytes of
    connection N kept in NNNN.sent (from the caller) and NNNN.answered (from the server). A
    stream is recorded before it is passed on, so whatever the caller received is on record."""

    def __init__(self, target_port, folder):
        self.target, self.folder = target_port, folder
        os.makedirs(folder, exist_ok=True)
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.connections = 0
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                caller, _ = self.listener.accept()
            except OSError:
                return
            name = os.path.join(self.folder, "%04d" % self.connections)
            self.connections += 1
            threading.Thread(target=self._relay, args=(caller, name), daemon=True).start()

    def _relay(self, caller, name):
        try:
            server = socket.create_connection(("127.0.0.1", self.target))
        except OSError:
            caller.close()
            return
        answers = threading.Thread(target=self._pipe, args=(server, caller, name + ".answered"), daemon=True)
        answers.start()
        self._pipe(caller, server, name + ".sent")
        answers.join()
        caller.close()
        server.close()

    @staticmethod
    def _pipe(source, target, path):
        with open(path, "wb", buffering=0) as record:
            while True:
                try:
                    data = source.recv(65536)
                except OSError:
                    data = b""
                if not data:
                    break
                record.write(data)
                try:
                    target.sendall(data)
                except OSError:
                    break
        try:
            target.shutdown(socket.SHUT_WR)
        except OSError:
            pass

    def close(self):
        self.listener.close()


class HttpMessage:
    def __init__(self, first, fields, body):
        self.first, self.fields, self.body = first, fields, body

    @property
    def method(self):
        return self.first.split(" ")[0]

    @property
    def target(self):
        parts = self.first.split(" ")
        return parts[1] if len(parts) > 1 else ""

    @property
    def status(self):
        parts = self.first.split(" ")
        return int(parts[1]) if self.first.startswith("HTTP/") and len(parts) > 1 and parts[1].isdigit() else 0


def _dechunk(data, pos):
    """(body, position after it) of a chunked body at pos; None when it is cut short."""
    body = b""
    while True:
        end = data.find(b"\r\n", pos)
        if end < 0:
            return None
        size = int(data[pos:end].split(b";")[0].strip() or b"0", 16)
        pos = end + 2
        if size == 0:
            trailer = data.find(b"\r\n\r\n", pos - 2)
            return (body, trailer + 4) if trailer >= 0 else None
        if len(data) < pos + size + 2:
            return None
        body += data[pos:pos + size]
        pos += size + 2


def http_messages(data, answers, methods=()):
    """The HTTP messages of one direction of a connection: (messages, problem or None). answers:
    the stream is the server's, methods the requests' methods in order (a HEAD's answer has no body)."""
    messages, pos = [], 0
    while pos < len(data):
        end = data.find(b"\r\n\r\n", pos)
        if end < 0:
            return messages, "a message head cut short at byte %d" % pos
        lines = data[pos:end].decode("latin-1").split("\r\n")
        fields = {}
        for line in lines[1:]:
            name, _, value = line.partition(":")
            fields[name.strip().lower()] = value.strip()
        message = HttpMessage(lines[0], fields, b"")
        pos = end + 4
        bodiless = answers and (message.status < 200 or message.status in (204, 304) or
                                (len(messages) < len(methods) and methods[len(messages)] == "HEAD"))
        if bodiless:
            pass
        elif fields.get("transfer-encoding", "").lower() == "chunked":
            got = _dechunk(data, pos)
            if got is None:
                return messages, "a chunked body cut short after %s" % lines[0]
            message.body, pos = got
        elif "content-length" in fields:
            size = int(fields["content-length"])
            if len(data) < pos + size:
                return messages, "a body of %d bytes cut short at %d after %s" % (size, len(data) - pos, lines[0])
            message.body, pos = data[pos:pos + size], pos + size
        elif answers:
            message.body, pos = data[pos:], len(data)
        if answers and 100 <= message.status < 200:
            continue  # an interim answer
        messages.append(message)
    return messages, None


def _params(value):
    """The parameters of a header value such as Content-Type, names in lower case."""
    out = {}
    for item in value.split(";")[1:]:
        name, _, text = item.partition("=")
        out[name.strip().lower()] = text.strip().strip('"')
    return out


def mime_parts(body, content_type):
    """(parts, problem): the parts of a multipart/related body as (fields, content)."""
    boundary = _params(content_type).get("boundary")
    if not boundary:
        return [], "multipart without a boundary"
    delimiter = b"--" + boundary.encode("latin-1")
    pieces = body.split(b"\r\n" + delimiter)
    if not pieces[0].startswith(delimiter):
        return [], "no opening boundary"
    pieces[0] = pieces[0][len(delimiter):]
    parts = []
    for piece in pieces:
        if piece.startswith(b"--"):
            return parts, None
        head_end = piece.find(b"\r\n\r\n")
        if head_end < 0:
            return parts, "a part without a head"
        fields = {}
        for line in piece[:head_end].decode("latin-1").split("\r\n"):
            if ":" in line:
                name, _, value = line.partition(":")
                fields[name.strip().lower()] = value.strip()
        parts.append((fields, piece[head_end + 4:]))
    return parts, "no closing boundary"


def xop_root(body, content_type):
    """(the root part's XML with every xop:Include replaced by the base64 text of the part it
    names, problem or None) of a XOP package."""
    from lxml import etree
    from wsdl_model import PARSER
    params = _params(content_type)
    if params.get("type") != "application/xop+xml":
        return None, "a multipart message whose type is %r, not application/xop+xml" % params.get("type")
    parts, problem = mime_parts(body, content_type)
    if problem:
        return None, problem
    if not parts:
        return None, "a XOP package without parts"
    by_id = {fields.get("content-id", "").strip("<>"): content for fields, content in parts}
    start = params.get("start", "").strip("<>")
    root = by_id.get(start) if start else parts[0][1]
    root_type = next((fields.get("content-type", "") for fields, content in parts if content is root), "")
    if root is None:
        return None, "no part is the start %r" % start
    if not root_type.lower().startswith("application/xop+xml"):
        return None, "the root part is %r, not application/xop+xml" % root_type
    try:
        doc = etree.fromstring(root, PARSER)
    except etree.XMLSyntaxError as e:
        return None, "root part not well-formed: %s" % e
    for include in list(doc.iter("{%s}Include" % XOP)):
        href = include.get("href", "")
        content = by_id.get(unquote(href[4:])) if href.startswith("cid:") else None
        if content is None:
            return None, "xop:Include names no part: %r" % href
        parent = include.getparent()
        if len(parent) != 1 or (parent.text or "").strip() or (include.tail or "").strip():
            return None, "xop:Include beside other content in %s" % etree.QName(parent).localname
        parent.remove(include)
        parent.text = base64.b64encode(content).decode("ascii")
    return etree.tostring(doc), None


class WireCheck:
    """The checks of one WSDL's messages: paths maps a request path to its port's SOAP version."""

    def __init__(self, wsdl, paths, work):
        import envelope_check
        import wsdl_model
        soap_schemas = os.path.join(HERE, "..", "..", "runtime", "soap-schemas")
        headers = {ns: os.path.join(HERE, name) for ns, name in HEADER_SCHEMAS.items()}
        self.paths = paths
        self.checks = {}
        for version in sorted(set(paths.values())):
            service = wsdl_model.Service(wsdl, version)
            self.checks[version] = envelope_check.EnvelopeCheck(service, os.path.join(work, "soap%d" % version), soap_schemas,
                                                                os.path.join(HERE, "soap-envelope.xsd"), headers)

    def version_of(self, target):
        """The SOAP version of the port a request target (a path, or a proxy's absolute URL) names."""
        return self.paths.get(urlsplit(target).path)

    def message(self, message, version):
        """None when the SOAP message is sound, else the first problem."""
        import peer_test
        content_type = message.fields.get("content-type", "")
        if content_type.lower().startswith("multipart/related"):
            xml, problem = xop_root(message.body, content_type)
            if problem:
                return problem
        else:
            problem = peer_test.http_problem(message.fields, None, version)
            if problem:
                return problem
            xml = message.body
        return self.checks[version].check(xml)

    def exchanges(self, folder):
        """(request, answer or None, version, problem of the stream or None) of every SOAP call on
        record, in the order of the connections."""
        out = []
        for name in sorted(f[:-len(".sent")] for f in os.listdir(folder) if f.endswith(".sent")):
            with open(os.path.join(folder, name + ".sent"), "rb") as f:
                requests, request_problem = http_messages(f.read(), False)
            answered = os.path.join(folder, name + ".answered")
            data = b""
            if os.path.exists(answered):
                with open(answered, "rb") as f:
                    data = f.read()
            answers, answer_problem = http_messages(data, True, [r.method for r in requests])
            for k, request in enumerate(requests):
                if request.method != "POST":
                    continue
                version = self.version_of(request.target)
                answer = answers[k] if k < len(answers) else None
                out.append((request, answer, version, None if version else "a request to %s, no port's" % request.target))
            for problem in (request_problem, answer_problem):
                if problem:
                    out.append((None, None, None, "connection %s: %s" % (name, problem)))
        return out

    def run(self, folder, ours):
        """Checks the record; (lines to print, number of our messages checked, number of our faults)."""
        lines, checked, faults = [], 0, 0
        for request, answer, version, problem in self.exchanges(folder):
            if problem:
                lines.append("FAULT: " + problem)
                faults += 1
                continue
            for kind, message in (("request", request), ("answer", answer)):
                mine = ours == "both" or ours == kind + "s"
                if message is None:
                    if mine:
                        lines.append("FAULT: no answer to the request to %s" % request.target)
                        faults += 1
                    continue
                if kind == "answer" and not message.body and message.status in (200, 202):
                    continue  # a one-way request's empty acceptance
                bad = self.message(message, version)
                checked += 1 if mine else 0
                where = "%s %s (SOAP 1.%d)" % (kind, request.target, 1 if version == 11 else 2)
                if bad and mine:
                    lines.append("FAULT: our %s invalid: %s" % (where, bad))
                    faults += 1
                elif bad:
                    lines.append("note: the peer's %s invalid: %s" % (where, bad))
        return lines, checked, faults


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "relay":
        relay = Relay(int(sys.argv[2]), sys.argv[3])
        print("port %d" % relay.port, flush=True)
        threading.Event().wait()
        return 0
    ap = argparse.ArgumentParser()
    ap.add_argument("command", choices=["check"])
    ap.add_argument("record")
    ap.add_argument("wsdl")
    ap.add_argument("paths", nargs="+", help="PATH=VERSION (11 or 12)")
    ap.add_argument("--ours", choices=["requests", "answers", "both"], required=True)
    ap.add_argument("--least", type=int, default=1, help="fewest messages of ours that must be on record")
    cfg = ap.parse_args()
    paths = {p.split("=")[0]: int(p.split("=")[1]) for p in cfg.paths}
    check = WireCheck(cfg.wsdl, paths, os.path.join(cfg.record, "..", os.path.basename(cfg.record) + "-schemas"))
    lines, checked, faults = check.run(cfg.record, cfg.ours)
    for line in lines:
        print(line)
    print("wire check: %d of our messages checked against the schemas, %d invalid" % (checked, faults))
    if checked < cfg.least:
        print("FAULT: fewer than %d of our messages on record" % cfg.least)
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
