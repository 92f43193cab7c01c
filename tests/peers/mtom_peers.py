#!/usr/bin/env python3
"""MTOM against independent stacks: the generated server of wsdl/values.wsdl set to MTOM echoes
echoBlobs (a binary of 200,000 bytes, a hexBinary, two small binaries repeated). node-soap calls
it with MTOM forced, the binary as a part of its own that an xop:Include names, and reads the XOP
answer; zeep calls it and reads the XOP answer; our own client set to MTOM calls it (natively, or
built with mingw-w64 and run under Wine). A gSOAP server built from the same WSDL (wsdl2h -c,
soapcpp2 -c, and mtom_gsoap_server.c beside this script) answers our client with every binary as a
XOP part, its bytes checked. Each caller goes through a relay that records the wire, and a row
passes only when every message our side sent in it (the XOP root part with its includes resolved)
is valid against the schemas. Each row that passes is printed as the rows of expected.tsv are; a
row expected there that fails fails the test.
  mtom_peers.py --kvgen KVGEN --cc CC --include DIR --node-modules DIR --work DIR [--sanitize]
  mtom_peers.py --windows --kvgen-windows KVGEN.EXE --wine-run SCRIPT --mingw-gcc GCC --win-tessaro LIB
                --win-xml2 LIB --win-xml2-include DIR --cc CC --include DIR --node-modules DIR --work DIR"""

import argparse
import base64
import http.client
import json
import os
import shutil
import subprocess
import sys

import peer_processes
import support_build
import wire_check

HERE = os.path.dirname(os.path.abspath(__file__))
WSDL = os.path.join(HERE, "wsdl", "values.wsdl")
LABEL = "values"
BINARY = bytes((i * 7 + i // 256) % 256 for i in range(200000))
SMALL = [b"\x00\x01\x02\xff", b"\r\n--MIMEBoundary\r\n"]
HEX = "00ff10"

SERVER = r"""
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "vals_api.h"

static char *copy(const char *text)
{
	char *made = (char *)malloc(strlen(text) + 1);
	strcpy(made, text);
	return made;
}

static int echo(vals_served_t *served, const vals_echoBlobsIn_msg_t *in, vals_echoBlobsOut_msg_t *out, vals_soap_fault_msg_t *fault)
{
	const vals_Blobs_t *got = &in->echoBlobs.in;
	vals_Blobs_t *sent = &out->echoBlobsResponse.out;
	int i;
	(void)served;
	(void)fault;
	sent->longData = copy(got->longData != NULL ? got->longData : "");
	sent->longHex = copy(got->longHex != NULL ? got->longHex : "");
	sent->longPart = (char **)calloc(3, sizeof(char *));
	for(i = 0; i < got->longPart_count && i < 3; i++)
		sent->longPart[i] = copy(got->longPart[i]);
	sent->longPart_count = i;
	return 0;
}

int main(void)
{
	vals_service_t service;
	tessaro_server_config_t config;
	tessaro_server_t *server;

	memset(&service, 0, sizeof(service));
	memset(&config, 0, sizeof(config));
	service.echoBlobs = echo;
	service.mtom = 1;
	config.address = "127.0.0.1";
	if(vals_server_start(&server, &config, &service) != 0)
		return 1;
	printf("{\"port\": %u}\n", (unsigned)tessaro_server_port(server));
	fflush(stdout);
	/* the test closes the input to stop it */
	while(getchar() != EOF)
		;
	tessaro_server_stop(server);
	tessaro_server_wait(server);
	tessaro_server_free(server);
	return 0;
}
"""

CLIENT = r"""
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include "vals_api.h"

int main(int argc, char **argv)
{
	vals_client_t client;
	vals_echoBlobsIn_msg_t in;
	vals_echoBlobsOut_msg_t out;
	char *parts[2] = {PART0, PART1};
	int result, same;

	/* a second argument: the answer's hexBinary may come in capitals (the same value) */
	int (*same_hex)(const char *, const char *) = argc > 2 ? strcasecmp : strcmp;

	if(argc < 2 || vals_client_init(&client, argv[1]) != 0 || vals_client_set_mtom(&client, 1) != 0)
		return 2;
	memset(&in, 0, sizeof(in));
	memset(&out, 0, sizeof(out));
	in.echoBlobs.in.longData = DATA;
	in.echoBlobs.in.longHex = HEX;
	in.echoBlobs.in.longPart = parts;
	in.echoBlobs.in.longPart_count = 2;
	result = vals_echoBlobs(&client, &in, &out, NULL);
	same = result == 0 && out.echoBlobsResponse.out.longData != NULL && strcmp(out.echoBlobsResponse.out.longData, DATA) == 0 &&
		same_hex(out.echoBlobsResponse.out.longHex, HEX) == 0 && out.echoBlobsResponse.out.longPart_count == 2 &&
		strcmp(out.echoBlobsResponse.out.longPart[0], PART0) == 0 && strcmp(out.echoBlobsResponse.out.longPart[1], PART1) == 0;
	printf("%d same=%d %s\n", result, same, vals_client_error_detail(&client));
	vals_free_echoBlobs(&out);
	vals_client_close(&client);
	return same ? 0 : 1;
}
"""

NODE = r"""
const soap = require(require("path").join(process.argv[2], "soap"));
const [wsdl, endpoint, binaryFile] = process.argv.slice(3);
const binary = require("fs").readFileSync(binaryFile);
const parts = ["AAEC/w==", "DQotLU1JTUVCb3VuZGFyeQ0K"];
const xml = '<v:in xmlns:v="urn:kelvane:values"><v:longData><xop:Include xmlns:xop="http://www.w3.org/2004/08/xop/include" ' +
  'href="cid:blob%40node"/></v:longData><v:longHex>00ff10</v:longHex>' + parts.map((p) => "<v:longPart>" + p + "</v:longPart>").join("") + "</v:in>";
(async () => {
  const client = await soap.createClientAsync(wsdl, {endpoint, parseResponseAttachments: true});
  const [result, raw, header, request, attachments] = await client.echoBlobsAsync({$xml: xml}, {forceMTOM: true,
    attachments: [{mimetype: "application/octet-stream", contentId: "blob@node", name: "blob", body: binary}]});
  // each binary of the answer comes as a part of its own, named by the xop:Include in its place
  const byId = {};
  for (const part of (attachments || {parts: []}).parts)
    byId[(part.headers["content-id"] || "").replace(/[<>]/g, "")] = Buffer.from(part.body);
  const bytesOf = (value) => {
    const cid = decodeURIComponent((JSON.stringify(value).match(/cid:([^"\\]+)/) || [])[1] || "");
    return byId[cid] !== undefined ? byId[cid] : Buffer.alloc(0);
  };
  const same = Buffer.compare(bytesOf(result.out.longData), binary) === 0;
  const small = (result.out.longPart || []).map((p) => bytesOf(p).toString("base64")).join(",") === parts.join(",");
  console.log(JSON.stringify({sent: request.length > 0, same, small, hex: result.out.longHex}));
})().catch((error) => { console.log(JSON.stringify({error: error.message})); process.exit(1); });
"""

ZEEP = r"""
import base64, json, sys
import zeep, zeep.transports
wsdl, endpoint, binary_file = sys.argv[1:4]
binary = open(binary_file, "rb").read()

class Keep(zeep.transports.Transport):
    def post(self, address, message, headers):
        response = super().post(address, message, headers)
        self.content_type = response.headers.get("Content-Type", "")
        return response

transport = Keep(timeout=30, operation_timeout=30)
client = zeep.Client(wsdl, transport=transport)
service = client.create_service("{urn:kelvane:values}ValuesBinding", endpoint)
small = [b"\x00\x01\x02\xff", b"\r\n--MIMEBoundary\r\n"]
result = service.echoBlobs({"longData": binary, "longHex": "00ff10", "longPart": small})
# zeep's multipart reader trims the line ends at a part's two ends (node-soap and ours keep them)
print(json.dumps({"package": transport.content_type.startswith("multipart/related"), "same": result.longData == binary,
                  "small": list(result.longPart) == [part.strip(b"\r\n") for part in small], "hex": result.longHex}))
"""


def fail(why):
    print("mtom peers: " + why)
    sys.exit(1)


def build(cfg, gen, name, text, windows, native_flags=()):
    src = os.path.join(gen, "%s.c" % name)
    with open(src, "w") as f:
        f.write(text)
    source = os.path.join(gen, "vals_api.c")
    if windows:
        exe = os.path.join(gen, name + ".exe")
        argv = [cfg.mingw_gcc, "-std=gnu99", "-w", "-I", gen, "-I", cfg.include, "-I", cfg.win_xml2_include,
                "-DLIBXML_STATIC", "-o", exe, src, source, cfg.win_tessaro, cfg.win_xml2, "-lws2_32", "-lsecur32",
                "-lcrypt32", "-lbcrypt", "-static"]
    else:
        exe = os.path.join(gen, name)
        argv = [cfg.cc, "-std=gnu99", "-w", "-g"] + list(native_flags) + ["-I", gen, "-I", cfg.include, "-I", "/usr/include/libxml2", "-o", exe,
                src, source] + support_build.sources(cfg.include) + ["-lxml2", "-lssl", "-lcrypto", "-lpthread"]
        if cfg.sanitize:
            argv[1:1] = ["-fsanitize=address,undefined", "-fno-sanitize-recover=all"]
    status, _ = peer_processes.run(argv, 300, os.path.join(gen, "build-%s.log" % name))
    if status != 0:
        fail("%s did not build (see %s)" % (name, os.path.join(gen, "build-%s.log" % name)))
    return exe


def build_gsoap(cfg):
    """The gSOAP server of the same WSDL, built in its own folder; its path, or None and why."""
    folder = os.path.join(cfg.work, "gsoap")
    os.makedirs(folder)
    if not (shutil.which("wsdl2h") and shutil.which("soapcpp2") and os.path.exists("/usr/include/stdsoap2.h")):
        return None, "no wsdl2h, soapcpp2 or stdsoap2.h (the gsoap and libgsoap-dev packages)"
    exe = os.path.join(folder, "server")
    for argv in (["wsdl2h", "-c", "-o", os.path.join(folder, "values.h"), WSDL],
                 ["soapcpp2", "-c", "-x", "-S", "-d", folder, os.path.join(folder, "values.h")],
                 [cfg.cc or "cc", "-O1", "-w", "-I", folder, "-o", exe, os.path.join(HERE, "mtom_gsoap_server.c"),
                  os.path.join(folder, "soapC.c"), os.path.join(folder, "soapServer.c"), "-lgsoap"]):
        status, out = peer_processes.run(argv, 180, os.path.join(folder, "build.log"))
        if status != 0:
            return None, "%s failed: %s" % (argv[0], out[-300:])
    return exe, None


def gsoap_answers_xop(port):
    """Whether the gSOAP server answers a plain request with a XOP package, the binary a raw part."""
    envelope = ('<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body><v:echoBlobs xmlns:v="urn:kelvane:values">'
                '<v:in><v:longData>%s</v:longData><v:longHex>00ff10</v:longHex><v:longPart>AQL/</v:longPart></v:in>'
                '</v:echoBlobs></e:Body></e:Envelope>' % base64.b64encode(SMALL[1]).decode())
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    try:
        connection.request("POST", "/values", envelope.encode(), {"Content-Type": "text/xml; charset=utf-8",
                                                                  "SOAPAction": '"urn:echoBlobs"'})
        response = connection.getresponse()
        kind, body = response.getheader("Content-Type", ""), response.read()
    finally:
        connection.close()
    return kind.startswith("multipart/related") and "application/xop+xml" in kind and b"xop:Include" in body and SMALL[1] in body


def gsoap_rows(cfg, client):
    """Our client (under Wine in the Windows build) against the gSOAP server's XOP answers."""
    server, why = build_gsoap(cfg)
    if server is None:
        print("gsoap: " + why)
        return []
    direction = "gsoap-windows-client" if cfg.windows else "gsoap-client"
    with peer_processes.PeerProcess([server], os.path.join(cfg.work, "gsoap.log"), ends_with_input=False) as running:
        ready = running.next_json(60)
        if not ready or "port" not in ready:
            print("gsoap: the server did not start")
            return []
        if not gsoap_answers_xop(ready["port"]):
            print("gsoap: its answer is no XOP package with the bytes as a part")
            return []
        relay = wire_check.Relay(ready["port"], os.path.join(cfg.work, "wire-gsoap"))
        argv = ([cfg.wine_run] if cfg.windows else []) + [client, "http://127.0.0.1:%d/values" % relay.port, "hex-any-case"]
        status, out = peer_processes.run(argv, 300, os.path.join(cfg.work, "gsoap-client.log"))
    print("our client against gSOAP: " + out.strip())
    valid = wire_valid(cfg, relay, "requests")
    return [("mtom", "echoBlobs", direction)] if status == 0 and out.startswith("0 same=1") and valid else []


def wire_valid(cfg, relay, ours):
    """Whether the messages of ours ("requests", "answers" or "both") on relay's record are all
    valid, at least one of them there; prints what is not."""
    relay.close()
    check = wire_check.WireCheck(WSDL, {"/values": 11}, os.path.join(cfg.work, "schemas"))
    lines, checked, faults = check.run(relay.folder, ours)
    for line in lines + ["%d of our messages checked against the schemas, %d invalid" % (checked, faults)]:
        print("wire (%s): %s" % (os.path.basename(relay.folder), line))
    return checked > 0 and faults == 0


def c_string(data):
    return '"' + base64.b64encode(data).decode() + '"'


def main():
    parser = argparse.ArgumentParser()
    for name in ("kvgen", "kvgen-windows", "wine-run", "mingw-gcc", "win-tessaro", "win-xml2", "win-xml2-include", "cc",
                 "include", "node-modules", "work", "expected"):
        parser.add_argument("--" + name)
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("--sanitize", action="store_true")
    cfg = parser.parse_args()
    expected_file = cfg.expected or os.path.join(HERE, "expected.tsv")
    if not os.path.exists(os.path.join(cfg.node_modules, "soap", "package.json")) or \
            subprocess.run(["/usr/bin/python3", "-c", "import zeep"], capture_output=True).returncode != 0:
        print("no node-soap in %s, or no zeep: skipped" % cfg.node_modules)
        sys.exit(77)
    shutil.rmtree(cfg.work, ignore_errors=True)
    gen = os.path.join(cfg.work, "gen")
    os.makedirs(gen)
    if cfg.windows:
        argv = [cfg.wine_run, cfg.kvgen_windows, "--target", "windows", "--force", "--out", gen, "vals", WSDL]
    else:
        argv = [cfg.kvgen, "--force", "--out", gen, "vals", WSDL]
    status, out = peer_processes.run(argv, 180, os.path.join(cfg.work, "kvgen.log"))
    if status != 0:
        fail("kvgen failed: %s" % out[-200:])
    # the server is ours, built for this machine whatever the client's platform
    # (a header written for Windows leaves the export marks to the Windows compiler)
    server = build(cfg, gen, "mtom_server", SERVER, False, ("-DWINAPI=", "-D_declspec(x)=") if cfg.windows else ())
    definitions = "#define DATA %s\n#define HEX \"%s\"\n#define PART0 %s\n#define PART1 %s\n" % (
        c_string(BINARY), HEX, c_string(SMALL[0]), c_string(SMALL[1]))
    client = build(cfg, gen, "mtom_client", definitions + CLIENT, cfg.windows)
    binary_file = os.path.join(cfg.work, "binary.bin")
    with open(binary_file, "wb") as f:
        f.write(BINARY)
    passed = []
    with peer_processes.PeerProcess([server], os.path.join(cfg.work, "server.log")) as running:
        ready = running.next_json(60)
        if not ready or "port" not in ready:
            fail("the server did not start")
        relays = {name: wire_check.Relay(ready["port"], os.path.join(cfg.work, "wire-" + name))
                  for name in ("client", "node-soap", "zeep")}
        endpoint = {name: "http://127.0.0.1:%d/values" % relay.port for name, relay in relays.items()}
        if cfg.windows:
            status, out = peer_processes.run([cfg.wine_run, client, endpoint["client"]], 300, os.path.join(cfg.work, "client.log"))
            print("windows client: " + out.strip())
            if status == 0 and out.startswith("0 same=1") and wire_valid(cfg, relays["client"], "both"):
                passed.append(("mtom", "echoBlobs", "windows-client"))
        else:
            status, out = peer_processes.run([client, endpoint["client"]], 300, os.path.join(cfg.work, "client.log"))
            print("our client: " + out.strip())
            if status == 0 and out.startswith("0 same=1") and wire_valid(cfg, relays["client"], "both"):
                passed.append(("mtom", "echoBlobs", "client"))
            status, out = peer_processes.run(["node", "-e", NODE, "x", cfg.node_modules, WSDL, endpoint["node-soap"], binary_file],
                                             120, os.path.join(cfg.work, "node.log"))
            print("node-soap: " + out.strip())
            node = json.loads(out.strip().splitlines()[-1]) if out.strip() else {}
            if node.get("same") and node.get("small") and node.get("hex") == HEX and \
                    wire_valid(cfg, relays["node-soap"], "answers"):
                passed.append(("mtom", "echoBlobs", "node-soap"))
            status, out = peer_processes.run(["/usr/bin/python3", "-c", ZEEP, WSDL, endpoint["zeep"], binary_file], 120,
                                             os.path.join(cfg.work, "zeep.log"))
            print("zeep: " + out.strip())
            answer = json.loads(out.strip().splitlines()[-1]) if out.strip().startswith("{") else {}
            if answer.get("package") and answer.get("same") and answer.get("small") and answer.get("hex") == HEX and \
                    wire_valid(cfg, relays["zeep"], "answers"):
                passed.append(("mtom", "echoBlobs", "zeep"))
    passed += gsoap_rows(cfg, client)
    for row in passed:
        print("\t".join(row + ("pass",)))
    with open(expected_file) as f:
        expected = {tuple(line.split("\t")[:3]) for line in f.read().splitlines()
                    if line.startswith("mtom\t")}
    directions = {"windows-client", "gsoap-windows-client"} if cfg.windows else {"client", "node-soap", "zeep", "gsoap-client"}
    missing = sorted(row for row in expected if row[2] in directions and row not in passed)
    if missing:
        fail("expected to pass and did not: %s" % ", ".join("/".join(row) for row in missing))
    print("mtom peers: every expected row passed")


if __name__ == "__main__":
    main()
