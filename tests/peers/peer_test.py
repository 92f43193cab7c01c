#!/usr/bin/python3
"""The generated code against two SOAP stacks nobody here wrote, for the WSDLs of wsdls.tsv.

For every WSDL: kvgen writes the library for the target; a C driver made from the generated
header is built against it. Direction "client": our client calls every operation of a node-soap
server made from the same WSDL. Direction "server": a zeep client made from the WSDL calls every
operation of our server. Each operation passes a direction when the request and the response
arrive with every sample value, every envelope we sent passes a strict schema check, and zeep
reads our server's answers strictly; the peers' envelopes are checked too, and a note names
those that fail (the peer's fault, no outcome changes). An operation that declares a fault is
called a second time and answered with a fault whose detail must arrive; one with an enumeration in its request must have an unlisted value refused by our client,
and an unlisted value in a message our side reads must be taken and noted in its decode error.

Prints a table per WSDL and compares the outcome with expected.tsv: an expected pass that fails
is a regression (exit 1); a new pass is printed so that the file can be raised. Exit 77 when a
peer is not installed."""

import argparse
import json
import os
import shutil
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # nothing is written into the source tree

MISSING = []
try:
    from lxml import etree  # noqa: F401
except ImportError:
    MISSING.append("python3-lxml")
try:
    import zeep  # noqa: F401
except ImportError:
    MISSING.append("python3-zeep")


def short(text, limit=150):
    text = " ".join(str(text).split())
    return text if len(text) <= limit else text[: limit - 3] + "..."


def silence_cause(out, log_path):
    """What a program that gave no result printed instead: its last error line, or else its first
    line that is no result (Wine names a program it could not start on either)."""
    lines = []
    if os.path.exists(log_path):
        with open(log_path, errors="replace") as f:
            lines = [l.strip() for l in f if l.strip()]
    if not lines:
        lines = [l.strip() for l in out.splitlines() if l.strip() and not l.startswith("{")][:1]
    return ": " + short(lines[-1], 120) if lines else ", printing nothing"


class Outcome:
    def __init__(self):
        self.results = {}  # (op, direction) -> cause or None

    def set(self, op, direction, cause):
        self.results[(op, direction)] = cause


class Build:
    """kvgen and the C drivers for one WSDL and target."""

    def __init__(self, cfg, label, wsdl, work, windows=False):
        self.cfg, self.label, self.wsdl, self.work, self.windows = cfg, label, wsdl, work, windows
        self.error = None
        self.gen = os.path.join(work, "windows" if windows else "unix")
        self.client = self.server = None

    def generate(self):
        import peer_processes
        os.makedirs(self.gen, exist_ok=True)
        if self.windows:
            argv = [self.cfg.wine_run, self.cfg.kvgen_windows, "--target", "windows", "--force", "--out", self.gen, self.label, self.wsdl]
        else:
            argv = [self.cfg.kvgen, "--force", "--out", self.gen, self.label, self.wsdl]
        status, out = peer_processes.run(argv, 120, os.path.join(self.work, "kvgen-%s.log" % ("windows" if self.windows else "unix")))
        header = os.path.join(self.gen, "%s_api.h" % self.label)
        if status != 0 or not os.path.exists(header):
            self.error = "kvgen failed (%s): %s" % (status, short(out.splitlines()[-1] if out.strip() else ""))
            return None
        with open(header, encoding="utf-8", errors="replace") as f:
            text = f.read()
        source = os.path.join(self.gen, "%s_api.c" % self.label)
        with open(source, encoding="utf-8", errors="replace") as f:
            return text, f.read()

    def compile(self, client_c, server_c):
        outputs = []
        programs = [("client", client_c)] + ([] if self.windows else [("server", server_c)])
        library = self._native_library() if not self.windows else []
        if library is None:
            return False
        for name, text in programs:
            src = os.path.join(self.gen, "peer_%s.c" % name)
            with open(src, "w") as f:
                f.write(text)
            exe = os.path.join(self.gen, "peer_%s%s" % (name, ".exe" if self.windows else ""))
            if self.windows:
                argv = [self.cfg.mingw_gcc, "-std=gnu99", "-w", "-I", self.gen, "-I", self.cfg.include,
                        "-I", self.cfg.win_xml2_include, "-DLIBXML_STATIC", "-o", exe, src, os.path.join(self.gen, "%s_api.c" % self.label),
                        self.cfg.win_tessaro, self.cfg.win_xml2, "-lws2_32", "-lsecur32", "-lcrypt32", "-lbcrypt", "-static"]
            else:
                argv = self._native_compiler() + ["-I", self.gen, "-I", self.cfg.include, "-I", "/usr/include/libxml2",
                                                  "-o", exe, src] + library + ["-lxml2", "-lssl", "-lcrypto", "-lpthread"]
            if not self._built(argv, os.path.join(self.gen, "build-%s.log" % name)):
                return False
            outputs.append(exe)
        self.client = outputs[0]
        self.server = outputs[1] if len(outputs) > 1 else None
        return True

    def _native_compiler(self):
        """The compiler and flags of the native programs: under the sanitizers when the build uses them."""
        sanitize = ["-fsanitize=address,undefined", "-fno-sanitize-recover=all"] if self.cfg.sanitize else []
        return [self.cfg.cc] + sanitize + ["-std=gnu99", "-w", "-g"]

    def _native_library(self):
        """The objects both native programs link: the support library's, compiled once a run, and the
        generated library's; None when one did not build (self.error says why)."""
        import support_build
        if getattr(self.cfg, "support_objects", None) is None:
            objects, log = support_build.compile_objects(self._native_compiler(), self.cfg.include,
                                                         os.path.join(self.cfg.work, "support"), 300)
            if objects is None:
                self._failed(log, "non-zero")
                return None
            self.cfg.support_objects = objects
        api = os.path.join(self.gen, "%s_api.o" % self.label)
        argv = self._native_compiler() + ["-I", self.gen, "-I", self.cfg.include, "-I", "/usr/include/libxml2",
                                          "-c", "-o", api, os.path.join(self.gen, "%s_api.c" % self.label)]
        if not self._built(argv, os.path.join(self.gen, "build-api.log")):
            return None
        return [api] + self.cfg.support_objects

    def _built(self, argv, log):
        """Runs a compiler command, its messages into log; False with self.error set when it failed."""
        import peer_processes
        status = peer_processes.run(argv, 180, log)[0]
        if status != 0:
            self._failed(log, status)
        return status == 0

    def _failed(self, log, status):
        with open(log, errors="replace") as f:
            first = next((l for l in f if "error" in l), "compiler exited with %s" % status)
        self.error = "driver build failed: %s" % short(first)


class PeerRun:
    def __init__(self, cfg, label, rel_path, version=11):
        import wsdl_model
        import samples
        self.cfg, self.label, self.version = cfg, label, version
        # "wsdl/...": written for these tests, beside this script; any other under the corpus.
        self.wsdl = os.path.join(HERE if rel_path.startswith("wsdl/") else cfg.corpus, rel_path)
        self.work = os.path.join(cfg.work, label)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.outcome = Outcome()
        self.notes = []
        self.held = {}
        self.svc = wsdl_model.Service(self.wsdl, version)
        self.ops = self.svc.operations
        self.samples = {}
        for i, op in enumerate(self.ops):
            entry = {"input": samples.message_samples(self.svc, op, op.input, op.in_use, 10)}
            entry["output"] = (samples.message_samples(self.svc, op, op.output, op.out_use, 50)
                               if op.output is not None else {"body": [], "headers": [], "notes": []})
            entry["fault"] = self._fault_sample(op)
            self.samples[op.name] = entry
        import envelope_check
        self.encoding_schema = os.path.join(cfg.soap_schemas, "soap-encoding.xsd")
        self.check = envelope_check.EnvelopeCheck(self.svc, self.work, cfg.soap_schemas,
                                                  os.path.join(HERE, "soap-envelope.xsd"))

    def _fault_sample(self, op):
        """The detail of op's first declared fault when it is literal elements (the sample body),
        else None: the fault then goes with no detail."""
        import samples
        import wsdl_model
        if not op.faults or any(p.element is None for p in op.faults[0][1].parts):
            return None
        return samples.message_samples(self.svc, op, op.faults[0][1], wsdl_model.BodyUse(), 70)

    def fault_detail(self, op):
        """The markup of op's fault detail ("" for none)."""
        import peer_values
        sample = self.samples[op.name]["fault"]
        return "".join(peer_values.xml_of(node) for node in sample["body"]) if sample else ""

    def _detail_lost(self, op, got):
        """Problems with the values of op's fault detail as they arrived (got)."""
        import peer_values
        import samples
        sample = self.samples[op.name]["fault"]
        if sample is None:
            return []
        lost = peer_values.missing(peer_values.expected_values(sample) + samples.type_names(sample), got)
        return ["fault detail values lost: %s" % short(" ".join(lost), 60)] if lost else []

    def fail_all(self, direction, cause):
        for op in self.ops:
            self.outcome.set(op.name, direction, cause)

    def drivers(self, windows=False):
        import cdriver
        build = Build(self.cfg, self.label, self.wsdl, self.work, windows)
        texts = build.generate()
        if texts is None:
            return build
        header = cdriver.Header(texts[0], self.label, texts[1])
        details = {op.name: self.fault_detail(op) for op in self.ops}
        client_c, server_c, notes, self.held = cdriver.sources(header, self.ops, self.samples, self.version, details)
        for op, items in notes.items():
            self.notes.append("%s: %s" % (op, "; ".join(items)))
        build.compile(client_c, server_c)
        return build

    # -- direction "client": our client, node-soap's server --------------------------------------
    def run_client(self, build, direction):
        import node_peer
        import peer_processes
        import peer_values
        import samples
        if build.error:
            self.fail_all(direction, build.error)
            return
        with node_peer.NodeSoapServer(self.cfg, self, direction) as node:
            if node.error:
                self.fail_all(direction, node.error)
                return
            argv = [build.client, str(node.port), "/peer"]
            if build.windows:
                argv = [self.cfg.wine_run] + argv
            status, out = peer_processes.run(argv, 60 + 15 * len(self.ops), os.path.join(self.work, "client-%s.log" % direction))
        with open(os.path.join(self.work, "client-%s.out" % direction), "w") as f:
            f.write(out)
        import cdriver
        results = {(r.get("op"), r.get("side")): r for r in cdriver.parse_results(out) if "op" in r}
        received, calls, errors = node.events()
        for reply in node.replies():
            if samples.UNLISTED not in reply:  # the answers with an unlisted value are wrong on purpose
                self._peer_checked("node-soap's answer", reply)
        sent = 0
        for op in self.ops:
            r = results.get((op.name, "client"))
            if r is None:
                self.outcome.set(op.name, direction, "client driver gave no result (exit %s)%s" % (
                    status, silence_cause(out, os.path.join(self.work, "client-%s.log" % direction))))
                continue
            if r.get("connect") == -1 or r.get("send") != 0:
                self.outcome.set(op.name, direction, "our client did not send (rc %s)" % r.get("send", "connect"))
                continue
            req = received[sent] if sent < len(received) else None
            sent += 1
            problems = []
            if req is None:
                problems.append("node-soap received nothing")
            else:
                bad = self.check.check(req["xml"]) or http_problem(req.get("headers", {}), op, self.version)
                if bad:
                    problems.append("request invalid: " + bad)
            problems += self._dispatched(op, calls, errors)
            if op.output is not None:
                problems += self._decoded(op, r, "output", "response")
            fault = results.get((op.name, "client-fault"))
            if op.faults:
                sent += 1 if fault is not None and fault.get("send") == 0 else 0
                problems += self._fault_decoded(op, fault)
                calls[:] = [c for c in calls if c["op"] != op.name] if fault is not None else calls
            if samples.has_enumeration(self.samples[op.name]["input"]):
                problems += self._unlisted_refused(results.get((op.name, "client-invalid")))
            if op.output is not None and samples.has_enumeration(self.samples[op.name]["output"]):
                unknown = results.get((op.name, "client-unknown"))
                sent += 1 if unknown is not None and unknown.get("send") == 0 else 0
                problems += self._unlisted_read(op, unknown, "output", "response")
                calls[:] = [c for c in calls if c["op"] != op.name] if unknown is not None else calls
            self.outcome.set(op.name, direction, "; ".join(problems) if problems else None)

    def _peer_checked(self, what, envelope):
        """A peer's message is checked as ours are; where it fails, a note says so (the peer's
        fault, not ours, so no outcome changes)."""
        bad = self.check.check(envelope)
        if bad:
            self.notes.append("%s is invalid (the peer's): %s" % (what, bad))

    def _fault_decoded(self, op, result):
        """Our client's reading of the fault (HTTP 500) that node-soap sends for op's second call,
        its detail with it."""
        import node_peer
        import peer_values
        if result is None or result.get("send") != 0:
            return ["fault call not sent"]
        values = dict((k, v) for k, v in result.get("values", []))
        if result.get("read") != 0:
            return ["fault not read (rc %s)" % result.get("read")]
        if values.get("faultstring") != node_peer.fault_text(op):
            if "http" in values:
                return ["fault read as HTTP %s" % values["http"]]
            return ["fault not decoded (faultstring %r)" % values.get("faultstring")]
        return self._detail_lost(op, peer_values.c_values([("detail", values.get("detail", ""))]))

    @staticmethod
    def _unlisted_refused(result):
        """Our client's sending of a request whose enumerated value its enumeration does not list:
        refused before anything goes out, and the packet says why."""
        import samples
        if result is None:
            return ["unlisted value: no result"]
        if result.get("send") == 0:
            return ["unlisted value sent, not refused"]
        if samples.UNLISTED not in result.get("send_error", ""):
            return ["unlisted value refused without saying which (%r)" % short(result.get("send_error", ""), 60)]
        return []

    def _unlisted_read(self, op, result, key, what):
        """Our side's reading of a message whose enumerated value its enumeration does not list:
        taken, its values all there, and noted in the packet's decode error."""
        import peer_values
        import samples
        if result is None or result.get("send") != 0:
            return ["%s with an unlisted value: not exchanged" % what]
        if result.get("read") != 0:
            return ["%s with an unlisted value not read (rc %s): %s" % (what, result.get("read"), short(result.get("error", ""), 60))]
        expected = peer_values.expected_values(samples.with_enumerations(self.samples[op.name][key], samples.UNLISTED))
        lost = peer_values.missing(expected, peer_values.c_values(result.get("values", [])))
        problems = ["%s with an unlisted value: values lost: %s" % (what, short(" ".join(lost), 60))] if lost else []
        if samples.UNLISTED not in result.get("error", ""):
            problems.append("%s with an unlisted value: not noted (%r)" % (what, short(result.get("error", ""), 60)))
        return problems

    def _lost(self, op, key, got, what):
        """Problems with the values of op's input or output (key) that arrived as got: values the
        generated structures have no member for, and values lost on the way."""
        import peer_values
        expected = peer_values.expected_values(self.samples[op.name][key])
        held = [peer_values.norm(v) for v in self.held.get((op.name, key), [])]
        unheld = peer_values.missing(expected, held)
        lost = peer_values.missing(peer_values.missing(expected, unheld), got)
        if unheld and len(expected) - len(peer_values.missing(expected, got)) >= len(held):
            # As many values arrived as the structures hold: which of the repeated items a
            # single member keeps is the API's matter, not a loss on the wire.
            lost = []
        problems = []
        if unheld:
            problems.append("%s values with no member in the API: %s" % (what, short(" ".join(unheld), 50)))
        if lost:
            problems.append("%s values lost: %s" % (what, short(" ".join(lost), 50)))
        return problems

    def _dispatched(self, op, calls, errors, api=True):
        """What node-soap's service method received for op, against the input samples (api: the
        request came from our structures)."""
        import node_peer
        import peer_values
        call = next((c for c in calls if c["op"] == op.name), None)
        if call is None:
            err = errors.pop(0)["text"] if errors else "no call"
            return ["node-soap did not dispatch: " + short(err.splitlines()[0], 100)]
        calls.remove(call)
        got = node_peer.NodeSoapServer.call_values(call)
        if api:
            return self._lost(op, "input", got, "request")
        lost = peer_values.missing(peer_values.expected_values(self.samples[op.name]["input"]), got)
        return ["request values lost: %s" % short(" ".join(lost), 60)] if lost else []

    # -- direction "peers": zeep's client, node-soap's server (what the peers do together) -------
    def run_peers(self):
        import node_peer
        import peer_values
        import zeep_peer
        direction = "peers"
        with node_peer.NodeSoapServer(self.cfg, self, direction) as node:
            if node.error:
                self.fail_all(direction, node.error)
                return
            try:
                # Leniently: node-soap's answers put rpc accessors and some wrapped children in the
                # wrong namespace (the notes say where), which strict zeep refuses; this column is
                # what the peers manage between themselves, nothing of ours crosses it.
                peer = zeep_peer.ZeepPeer(self.wsdl, self.svc.ports[0][2], node.port, self.encoding_schema,
                                          strict=False)
            except Exception as e:  # zeep's own failure to read the WSDL
                self.fail_all(direction, "zeep could not read the WSDL: %s" % short(e, 100))
                return
            outcomes = []
            for op in self.ops:
                got, raised = peer.call(op, self.samples[op.name]["input"])
                outcomes.append((op, got, raised, peer.transport.posted))
        received, calls, errors = node.events()
        for op, got, raised, posted in outcomes:
            problems = [] if posted else ["zeep did not send: %s" % short(raised, 100)]
            if posted:
                problems += self._dispatched(op, calls, errors, api=False)
                if raised is not None:
                    problems.append("zeep: %s" % short("%s: %s" % (type(raised).__name__, raised), 110))
                elif op.output is not None:
                    lost = peer_values.missing(peer_values.expected_values(self.samples[op.name]["output"]), got)
                    if lost:
                        problems.append("response values lost: %s" % short(" ".join(lost), 60))
            self.outcome.set(op.name, direction, "; ".join(problems) if problems else None)

    def _decoded(self, op, result, key, what):
        import peer_values
        if result.get("read") != 0:
            return ["%s not read (rc %s)" % (what, result.get("read"))]
        if result.get("type") != result.get("expected") and result.get("expected", 0) != 0:
            values = dict((k, v) for k, v in result.get("values", []))
            if "faultstring" in values or "faultcode" in values:
                return ["%s read as a fault: %s" % (what, short(values.get("faultstring", values.get("faultcode")), 80))]
            if "http" in values:
                return ["%s read as HTTP %s" % (what, values["http"])]
            return ["%s decoded as message %s, not %s" % (what, result.get("type"), result.get("expected"))]
        got = peer_values.c_values(result.get("values", []))
        return self._lost(op, key, got, what) + self._types_lost(op, key, got, what)

    def _types_lost(self, op, key, got, what):
        """The xsi:type names of anyType content that our side read without their namespace."""
        import samples
        import peer_values
        lost = peer_values.missing(samples.type_names(self.samples[op.name][key]), got)
        return ["%s type names lost: %s" % (what, short(" ".join(lost), 80))] if lost else []

    # -- direction "server": zeep's client, our server -------------------------------------------
    def run_server(self, build):
        import peer_processes
        import samples
        import zeep_peer
        direction = "server"
        if build.error:
            self.fail_all(direction, build.error)
            return
        log = os.path.join(self.work, "server.log")
        with peer_processes.PeerProcess([build.server], log, ends_with_input=False) as server:
            ready = server.next_json(30)
            if not ready or "port" not in ready:
                self.fail_all(direction, "our server did not start: %s" % self._tail(log))
                return
            try:
                peer = zeep_peer.ZeepPeer(self.wsdl, self.svc.ports[0][2], ready["port"], self.encoding_schema)
            except Exception as e:  # zeep's own failure to read the WSDL
                self.fail_all(direction, "zeep could not read the WSDL: %s" % short(e, 100))
                return
            late = 0
            for op in self.ops:
                got, raised = peer.call(op, self.samples[op.name]["input"])
                if not peer.transport.posted:
                    self.outcome.set(op.name, direction, "zeep did not send: %s" % short(raised, 100))
                    continue
                self._peer_checked("zeep's request for %s" % op.name, peer.transport.last_request)
                # The server prints two lines per connection, the request as read and the sending
                # of the answer; lines of an earlier call that came too late are passed over.
                while late > 0 and server.next_json(30) is not None:
                    late -= 1
                request = server.next_json(30)
                response = server.next_json(30) if request is not None else None
                # Lines still owed by a server that answered are passed over at the next call.
                answered = peer.transport.last_response is not None
                late = (2 if request is None else (1 if response is None else 0)) if answered else 0
                if request is None and server.ended:
                    self.outcome.set(op.name, direction, "our server died: %s" % self._tail(log))
                    continue
                problems = self._served(op, request, response, peer.transport.last_response,
                                        peer.transport.last_headers)
                if request is not None and (not problems or request.get("op") == op.name):
                    problems += self._zeep_result(op, got, raised)
                if op.faults and not problems:
                    problems += self._fault_served(op, peer, server)
                if samples.has_enumeration(self.samples[op.name]["input"]) and not problems:
                    problems += self._unlisted_served(op, peer, server)
                self.outcome.set(op.name, direction, "; ".join(problems) if problems else None)

    def _unlisted_served(self, op, peer, server):
        """zeep sends op's request with a value its enumeration does not list: our server takes it,
        notes it, and answers."""
        import samples
        _, raised = peer.call(op, samples.with_enumerations(self.samples[op.name]["input"], samples.UNLISTED))
        request = server.next_json(30)
        response = server.next_json(30) if request is not None else None
        if request is None or request.get("op") != op.name:
            return ["request with an unlisted value: not read as %s (%s)" % (
                op.name, short((request or {}).get("error", "no request"), 60))]
        problems = self._unlisted_read(op, request, "input", "request")
        if response is None or response.get("send") != 0:
            problems.append("request with an unlisted value: not answered")
        return problems

    def _fault_served(self, op, peer, server):
        """Our server answers op's second call with a fault (SOAP 1.1: Client and HTTP 500; SOAP 1.2:
        Sender and HTTP 400) holding the declared detail: a valid envelope, and zeep reads the code,
        the reason and the detail."""
        import node_peer
        import peer_values
        import zeep.exceptions
        _, raised = peer.call(op, self.samples[op.name]["input"])
        request = server.next_json(30)
        response = server.next_json(30) if request is not None else None
        if response is None or response.get("send") != 0:
            return ["our server did not send the fault"]
        problems = []
        bad = self.check.check(self._envelope_of(peer.transport.last_response or b"")) or http_problem(
            peer.transport.last_headers, None, self.version)
        if bad:
            problems.append("fault invalid: " + bad)
        status, code = (400, "Sender") if self.version == 12 else (500, "Client")
        if peer.transport.last_status != status:
            problems.append("fault sent with HTTP %s, not %s" % (peer.transport.last_status, status))
        if not isinstance(raised, zeep.exceptions.Fault):
            problems.append("zeep read no fault: %s" % short(repr(raised), 100))
        elif raised.message != node_peer.fault_text(op) or not str(raised.code).endswith(code):
            problems.append("zeep read the fault as %s: %s" % (raised.code, short(raised.message, 80)))
        else:
            problems += self._detail_lost(op, peer_values.markup_values(raised.detail) if raised.detail is not None else [])
        return problems

    def _served(self, op, request, response, raw_response, response_headers):
        """What our server decoded and sent for op."""
        import peer_values
        if request is None or request.get("side") != "server-request":
            return ["our server printed no request"]
        if request.get("op") != op.name:
            values = dict((k, v) for k, v in request.get("values", []))
            if request.get("read") != 0:
                return ["request not read (rc %s)" % request.get("read")]
            if "http" in values:
                return ["request read as HTTP %s" % values["http"]]
            return ["request decoded as message %s" % request.get("type")]
        got = peer_values.c_values(request.get("values", []))
        problems = self._lost(op, "input", got, "request") + self._types_lost(op, "input", got, "request")
        if response is None or response.get("send") != 0:
            problems.append("our server did not send the response")
        elif raw_response:
            bad = self.check.check(self._envelope_of(raw_response)) or http_problem(response_headers, None, self.version)
            if bad:
                problems.append("response invalid: " + bad)
        return problems

    def _zeep_result(self, op, got, raised):
        import peer_values
        if raised is not None:
            return ["zeep: %s" % short("%s: %s" % (type(raised).__name__, raised), 110)]
        if op.output is None:
            return []
        return self._lost(op, "output", got, "response")

    @staticmethod
    def _envelope_of(body):
        start = body.find(b"<")
        return body[start:] if start > 0 else body

    @staticmethod
    def _tail(path):
        try:
            with open(path, errors="replace") as f:
                lines = [l for l in f.read().splitlines() if l.strip()]
            return short(lines[-1] if lines else "no output", 120)
        except OSError:
            return "no log"


def http_problem(headers, op, version=11):
    """What a message's HTTP headers get wrong. SOAP 1.1: text/xml in UTF-8; a request carries
    SOAPAction, quoted, with the binding's action (empty when it gives none). SOAP 1.2:
    application/soap+xml in UTF-8, no SOAPAction; a request's action parameter is the binding's
    action (none when it gives none or an empty one)."""
    headers = {k.lower(): v for k, v in headers.items()}
    content_type = headers.get("content-type", "")
    media = content_type.split(";")[0].strip().lower()
    params = {p.split("=")[0].strip().lower(): p.split("=", 1)[1].strip().strip('"')
              for p in content_type.split(";")[1:] if "=" in p}
    wanted = "application/soap+xml" if version == 12 else "text/xml"
    if media != wanted or params.get("charset", "utf-8").lower() != "utf-8":
        return "HTTP Content-Type is %r, not %s; charset=utf-8" % (content_type, wanted)
    if version == 12:
        if "soapaction" in headers:
            return "HTTP SOAPAction in a SOAP 1.2 message"
        if op is not None and params.get("action") != (op.action or None):
            return "HTTP action parameter is %r, not %r" % (params.get("action"), op.action or None)
        return None
    if op is None:
        return None
    if "soapaction" not in headers:
        return "HTTP SOAPAction missing"
    action = headers["soapaction"].strip()
    if action != '"%s"' % (op.action or ""):
        return "HTTP SOAPAction is %s, not \"%s\"" % (action, op.action or "")
    return None


def read_list(path):
    rows = []
    with open(path) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                cols = line.rstrip("\n").split("\t")
                # A fourth column "soap12": the document's SOAP 1.2 port.
                rows.append((cols[0], cols[1], 12 if len(cols) > 3 and cols[3] == "soap12" else 11))
    return rows


def read_expectations(path):
    table = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                if line.strip() and not line.startswith("#"):
                    label, op, direction, state = line.rstrip("\n").split("\t")
                    table[(label, op, direction)] = state
    return table


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--kvgen")
    ap.add_argument("--include", required=True, help="support library headers")
    ap.add_argument("--sanitize", action="store_true", help="build the native drivers under ASan and UBSan")
    ap.add_argument("--corpus", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--soap-schemas", required=True)
    ap.add_argument("--node-modules", required=True)
    ap.add_argument("--node", default="node")
    ap.add_argument("--cc", default="gcc")
    ap.add_argument("--list", default=os.path.join(HERE, "wsdls.tsv"))
    ap.add_argument("--expected", default=os.path.join(HERE, "expected.tsv"))
    ap.add_argument("--windows", action="store_true", help="only the Windows client under Wine")
    ap.add_argument("--kvgen-windows")
    ap.add_argument("--wine-run")
    ap.add_argument("--mingw-gcc")
    ap.add_argument("--win-tessaro")
    ap.add_argument("--win-xml2")
    ap.add_argument("--win-xml2-include")
    ap.add_argument("--only", nargs="*", help="labels to run")
    cfg = ap.parse_args()

    if not shutil.which(cfg.node):
        MISSING.append("node")
    elif not os.path.exists(os.path.join(cfg.node_modules, "soap", "package.json")):
        MISSING.append("node-soap in %s" % cfg.node_modules)
    if MISSING:
        print("SKIPPED: the peers are not installed (%s); scripts/setup installs them" % ", ".join(MISSING))
        return 77

    started = time.time()
    os.makedirs(cfg.work, exist_ok=True)
    expected = read_expectations(cfg.expected)
    directions = ("windows-client",) if cfg.windows else ("client", "server")
    shown = directions + ("peers",)
    runs = []
    for label, rel, version in read_list(cfg.list):
        if cfg.only and label not in cfg.only:
            continue
        try:
            run = PeerRun(cfg, label, rel, version)
            if cfg.windows:
                run.run_client(run.drivers(windows=True), "windows-client")
                run.run_peers()
            else:
                build = run.drivers()
                run.run_client(build, "client")
                run.run_server(build)
                run.run_peers()
        except Exception:
            print("harness error for %s:\n%s" % (label, traceback.format_exc()))
            run = None
        runs.append((label, rel, run))

    print_table(runs, shown)
    regressions, new_passes = print_causes(runs, shown, directions, expected)
    if new_passes:
        print("\n== newly passing (raise expected.tsv) ==")
        print("\n".join(new_passes))
    print("\npeer test took %.0f s" % (time.time() - started))
    if regressions:
        print("\n== REGRESSIONS: expected to pass ==")
        print("\n".join(regressions))
    broken = [label for label, _, run in runs if run is None]
    if broken:
        print("\nharness errors (see above) for: %s" % " ".join(broken))
    return 1 if regressions or broken else 0


def print_table(runs, shown):
    """Operations passed per WSDL and direction. "peers" (zeep against node-soap) is what the two
    peers achieve together: where it fails, so may ours through no fault of our own."""
    total = {d: [0, 0] for d in shown}
    print("\n== peer test: operations passed per direction ==")
    print("%-12s %-4s %s" % ("WSDL", "ops", "  ".join("%-14s" % d for d in shown)))
    for label, rel, run in runs:
        if run is None:
            print("%-12s harness error" % label)
            continue
        counts = []
        for d in shown:
            passed = sum(1 for op in run.ops if run.outcome.results.get((op.name, d), "x") is None)
            total[d][0] += passed
            total[d][1] += len(run.ops)
            counts.append("%-14s" % ("%d/%d" % (passed, len(run.ops))))
        print("%-12s %-4d %s  %s" % (label, len(run.ops), "  ".join(counts), rel))
    print("%-12s %-4s %s" % ("total", "", "  ".join("%-14s" % ("%d/%d" % tuple(total[d])) for d in shown)))


READER_SIGNS = ("not read", "read as", "decoded as", "fault not decoded")
HARNESS_SIGNS = ("zeep did not send", "driver build failed", "kvgen failed", "gave no result", "did not start", "could not be started",
                 "fault call not sent")


def side_of(direction, problem, peers_cause=None):
    """Which side a problem points at: the generated reader, its writer, the API's structures,
    the peer, or the harness (the judgement of the table; the peers' own column tells whether
    the peers manage the operation between themselves)."""
    if direction == "peers":
        return "peer"
    for shared in ("node-soap did not dispatch", "response values lost", "request values lost"):
        # What the peers cannot do between themselves is first of all theirs.
        if problem.startswith(shared) and peers_cause and shared in peers_cause:
            return "peer"
    if problem.startswith("node-soap did not dispatch"):
        return "writer"
    if problem.startswith("response read as HTTP 500") and peers_cause and "node-soap did not dispatch" in peers_cause:
        return "peer"
    if any(sign in problem for sign in HARNESS_SIGNS):
        return "harness"
    if "no member in the API" in problem:
        return "api"
    if any(sign in problem for sign in READER_SIGNS) or problem.startswith("our server died"):
        return "reader"
    if " type names lost" in problem:
        return "reader"
    if problem.startswith(("response values lost", "fault detail values lost")):
        return "reader" if direction.endswith("client") else "writer"
    if problem.startswith("request values lost"):
        return "writer" if direction.endswith("client") else "reader"
    return "writer"


def labelled(direction, cause, peers_cause):
    return "; ".join("[%s] %s" % (side_of(direction, p, peers_cause), p) for p in cause.split("; "))


def print_causes(runs, shown, judged, expected):
    """Prints why each operation failed; (regressions, new passes) of the judged directions."""
    regressions, new_passes = [], []
    print("\n== causes ==")
    for label, rel, run in runs:
        if run is None:
            continue
        for op in run.ops:
            for d in shown:
                cause = run.outcome.results.get((op.name, d), "not run")
                if cause is not None:
                    peers_cause = run.outcome.results.get((op.name, "peers"))
                    print("%s %s (%s): %s" % (label, op.name, d, labelled(d, cause, peers_cause)))
                if d not in judged:
                    continue
                state = expected.get((label, op.name, d), "fail")
                if cause is not None and state == "pass":
                    regressions.append("%s %s [%s]: %s" % (label, op.name, d, cause))
                elif cause is None and state != "pass":
                    new_passes.append("%s\t%s\t%s\tpass" % (label, op.name, d))
        for note in run.notes:
            print("%s note: %s" % (label, note))
    return regressions, new_passes


if __name__ == "__main__":
    sys.exit(main())
