#!/usr/bin/python3
"""The wire check on records written by hand: sound exchanges pass, and each way a message can be
wrong (in its envelope, its WS-Addressing or WS-Security headers, its XOP package or its HTTP
framing) is caught; and zeep, set up as it reads our server's answers, refuses what the schemas
do not allow. Exit 77 without lxml."""

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True

try:
    import lxml  # noqa: F401
except ImportError:
    print("SKIPPED: no python3-lxml")
    sys.exit(77)

import wire_check  # noqa: E402

ADDRESSING = (os.path.join(HERE, "wsdl", "addressing.wsdl"), {"/addressed": 11, "/addressed12": 12})
VALUES = (os.path.join(HERE, "wsdl", "values.wsdl"), {"/values": 11})
CALCULATOR = (os.path.join(HERE, "..", "..", "runtime", "example", "calculator.wsdl"), {"/calculator": 11})

ENV11 = "http://schemas.xmlsoap.org/soap/envelope/"
WSA = 'xmlns:wsa="http://www.w3.org/2005/08/addressing"'
WSSE = 'xmlns:wsse="http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecext-1.0.xsd"'
WSU = 'xmlns:wsu="http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd"'


def envelope(header, body, env=ENV11):
    return ('<e:Envelope xmlns:e="%s"><e:Header>%s</e:Header><e:Body>%s</e:Body></e:Envelope>' % (env, header, body)).encode()


def addressed(reply_to="<wsa:Address>http://www.w3.org/2005/08/addressing/anonymous</wsa:Address>", must="1"):
    return envelope('<wsa:Action %s e:mustUnderstand="%s">http://example.org/addressed/Add</wsa:Action>'
                    '<wsa:MessageID %s>urn:uuid:5f2a7d0e-3c1b-4a8e-9f00-0123456789ab</wsa:MessageID>'
                    '<wsa:ReplyTo %s>%s</wsa:ReplyTo>' % (WSA, must, WSA, WSA, reply_to),
                    '<t:Add xmlns:t="http://example.org/addressed"><t:a>2</t:a><t:b>3</t:b></t:Add>')


ADD_ANSWER = envelope("", '<t:AddResponse xmlns:t="http://example.org/addressed"><t:sum>5</t:sum></t:AddResponse>')
ADD_ANSWER12 = ADD_ANSWER.replace(ENV11.encode(), b"http://www.w3.org/2003/05/soap-envelope")
SUM = envelope("", '<c:AddResponse xmlns:c="urn:kelvane:calculator"><c:sum>5</c:sum></c:AddResponse>')
BLOBS = envelope("", '<v:echoBlobsResponse xmlns:v="urn:kelvane:values"><v:out><v:longData>AP8Q</v:longData>'
                     '<v:longHex>00ff10</v:longHex><v:longPart>AQL/</v:longPart></v:out></v:echoBlobsResponse>')


def secured(token):
    return envelope('<wsse:Security %s %s e:mustUnderstand="1">%s</wsse:Security>' % (WSSE, WSU, token),
                    '<c:Add xmlns:c="urn:kelvane:calculator"><c:a>2</c:a><c:b>3</c:b></c:Add>')


def post(path, body, content_type="text/xml; charset=utf-8"):
    action = b"" if content_type.startswith("application/soap+xml") else b'SOAPAction: "x"\r\n'
    return (b"POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: %s\r\n%sContent-Length: %d\r\n\r\n"
            % (path.encode(), content_type.encode(), action, len(body)) + body)


def answer(body, content_type="text/xml; charset=utf-8", chunked=False):
    if chunked:
        half = len(body) // 2
        framed = b"%x\r\n%s\r\n%x\r\n%s\r\n0\r\n\r\n" % (half, body[:half], len(body) - half, body[half:])
        return b"HTTP/1.1 200 OK\r\nContent-Type: %s\r\nTransfer-Encoding: chunked\r\n\r\n" % content_type.encode() + framed
    return b"HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\n\r\n" % (content_type.encode(), len(body)) + body


def xop(hex_include=False, href="cid:blob%40here"):
    """An echoBlobs request as a XOP package: longData (or, wrongly, also longHex) sent as a part."""
    hex_value = '<xop:Include xmlns:xop="%s" href="%s"/>' % (wire_check.XOP, href) if hex_include else "00ff10"
    root = envelope("", '<v:echoBlobs xmlns:v="urn:kelvane:values"><v:in><v:longData><xop:Include xmlns:xop="%s" href="%s"/>'
                        '</v:longData><v:longHex>%s</v:longHex><v:longPart>AQL/</v:longPart></v:in></v:echoBlobs>'
                    % (wire_check.XOP, href, hex_value))
    body = (b"--b1\r\nContent-Type: application/xop+xml; charset=UTF-8; type=\"text/xml\"\r\nContent-ID: <root@here>\r\n\r\n"
            + root + b"\r\n--b1\r\nContent-Type: application/octet-stream\r\nContent-ID: <blob@here>\r\n"
            b"Content-Transfer-Encoding: binary\r\n\r\n\x00\xff\x10\r\n--b1--\r\n")
    kind = 'multipart/related; boundary=b1; type="application/xop+xml"; start="<root@here>"; start-info="text/xml"'
    return post("/values", body, kind)


TIMESTAMP = '<wsu:Timestamp wsu:Id="TS-1"><wsu:Created>%s</wsu:Created><wsu:Expires>2026-12-10T18:15:00Z</wsu:Expires></wsu:Timestamp>'
USER = '<wsse:UsernameToken><wsse:Username>alice</wsse:Username><wsse:Password>secret</wsse:Password></wsse:UsernameToken>'

# name, (wsdl, paths), what the caller sent, what the server answered, the fault to be found (None: sound)
ROWS = [
    ("addressed request and its answer", ADDRESSING, post("/addressed", addressed()), answer(ADD_ANSWER), None),
    ("ReplyTo without its Address", ADDRESSING, post("/addressed", addressed(reply_to="")), answer(ADD_ANSWER), "ReplyTo"),
    ("mustUnderstand true in SOAP 1.1", ADDRESSING, post("/addressed", addressed(must="true")), answer(ADD_ANSWER),
     "mustUnderstand"),
    ("SOAP 1.1 envelope on the SOAP 1.2 port", ADDRESSING,
     post("/addressed12", addressed(), "application/soap+xml; charset=utf-8"),
     answer(ADD_ANSWER12, "application/soap+xml; charset=utf-8"), "an Envelope of"),
    ("a value not of its type", ADDRESSING, post("/addressed", addressed().replace(b">2<", b">two<")), answer(ADD_ANSWER),
     "two"),
    ("Content-Type not text/xml", ADDRESSING, post("/addressed", addressed(), "text/html"), answer(ADD_ANSWER),
     "Content-Type"),
    ("chunked answer", ADDRESSING, post("/addressed", addressed()), answer(ADD_ANSWER, chunked=True), None),
    ("answer cut short", ADDRESSING, post("/addressed", addressed()), answer(ADD_ANSWER)[:-10], "cut short"),
    ("request not answered", ADDRESSING, post("/addressed", addressed()), b"", "no answer"),
    ("UsernameToken and Timestamp", CALCULATOR, post("/calculator", secured(USER + TIMESTAMP % "2026-12-10T18:10:00Z")),
     answer(SUM), None),
    ("UsernameToken without its Username", CALCULATOR,
     post("/calculator", secured(USER.replace("<wsse:Username>alice</wsse:Username>", ""))), answer(SUM),
     "Username"),
    ("Timestamp whose Created is no time", CALCULATOR, post("/calculator", secured(TIMESTAMP % "yesterday")), answer(SUM),
     "yesterday"),
    ("XOP package", VALUES, xop(), answer(BLOBS), None),
    ("XOP include in a hexBinary", VALUES, xop(hex_include=True), answer(BLOBS), "hexBinary"),
    ("XOP include naming no part", VALUES, xop(href="cid:lost%40here"), answer(BLOBS), "names no part"),
]


class WireCheckRows(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="wire-check-")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def test_rows(self):
        checks = {}
        for name, (wsdl, paths), sent, answered, fault in ROWS:
            with self.subTest(name):
                if wsdl not in checks:
                    checks[wsdl] = wire_check.WireCheck(wsdl, paths, os.path.join(self.work, "schemas%d" % len(checks)))
                record = os.path.join(self.work, name.replace(" ", "-"))
                os.makedirs(record)
                with open(os.path.join(record, "0000.sent"), "wb") as f:
                    f.write(sent)
                with open(os.path.join(record, "0000.answered"), "wb") as f:
                    f.write(answered)
                lines, checked, faults = checks[wsdl].run(record, "both")
                if fault is None:
                    self.assertEqual((faults, lines), (0, []))
                    self.assertEqual(checked, 2)
                else:
                    self.assertEqual(faults, len(lines), lines)
                    self.assertTrue(any(fault in line for line in lines), lines)

    def test_peer_message_is_noted_not_held(self):
        record = os.path.join(self.work, "peer")
        os.makedirs(record)
        with open(os.path.join(record, "0000.sent"), "wb") as f:
            f.write(post("/addressed", addressed(must="true")))
        with open(os.path.join(record, "0000.answered"), "wb") as f:
            f.write(answer(ADD_ANSWER))
        lines, checked, faults = wire_check.WireCheck(*ADDRESSING, os.path.join(self.work, "s")).run(record, "answers")
        self.assertEqual((checked, faults), (1, 0))
        self.assertTrue(lines[0].startswith("note: the peer's request"), lines)


try:
    import zeep_peer
except ImportError:
    zeep_peer = None


@unittest.skipIf(zeep_peer is None, "no python3-zeep")
class ZeepReadsStrictly(unittest.TestCase):
    """An answer with an element its schema does not declare: zeep set up against our server
    refuses it, as it must to catch such a fault; leniently it would pass."""

    def add(self, strict):
        import requests
        peer = zeep_peer.ZeepPeer(CALCULATOR[0], ("urn:kelvane:calculator", "CalculatorSoap"), 1,
                                  os.path.join(HERE, "..", "..", "runtime", "soap-schemas", "soap-encoding.xsd"), strict)

        def post(address, message, headers):
            got = requests.Response()
            got.status_code, got.encoding = 200, "utf-8"
            got.headers["Content-Type"] = "text/xml; charset=utf-8"
            got._content = SUM.replace(b"</c:sum>", b"</c:sum><c:extra>1</c:extra>")
            return got
        peer.transport.post = post
        return peer.service.Add(a=2, b=3)

    def test_unexpected_element_refused(self):
        import zeep.exceptions
        self.assertEqual(self.add(strict=False).sum, 5)
        with self.assertRaises(zeep.exceptions.XMLParseError):
            self.add(strict=True)


if __name__ == "__main__":
    unittest.main()
