"""node-soap, the SOAP server made from the WSDL (soap_server.js): it answers with the output
samples (in turn with a fault where the operation declares one, then with an unlisted enumerated
value where the response has an enumeration) and records what it received."""

import json
import os

import peer_processes
import peer_values
import samples

HERE = os.path.dirname(os.path.abspath(__file__))


def fault_text(op):
    """The fault string the server sends for op's second call."""
    return "fault of %s <&>" % op.name


class NodeSoapServer:
    def __init__(self, cfg, run, name):
        self.record = os.path.join(run.work, "node-%s.jsonl" % name)
        self.log = os.path.join(run.work, "node-%s.log" % name)
        plan = {"path": "/peer", "operations": {}, "soap12": run.version == 12}
        for op in run.ops:
            out = run.samples[op.name]["output"]
            plan["operations"][op.name] = {
                "body": peer_values.node_soap_body(op, out),
                "headerXml": "".join(peer_values.xml_of(h) for h in out["headers"])}
            detail = run.fault_detail(op)
            if op.faults and run.version == 12:
                plan["operations"][op.name]["fault"] = {"Code": {"Value": "soap:Receiver"},
                                                        "Reason": {"Text": fault_text(op)}, "statusCode": 500}
                if detail:
                    plan["operations"][op.name]["fault"]["Detail"] = {"$xml": detail}
            elif op.faults:
                plan["operations"][op.name]["fault"] = {"faultcode": "soap:Server", "faultstring": fault_text(op),
                                                        "statusCode": 500}
                if detail:
                    plan["operations"][op.name]["fault"]["detail"] = {"$xml": detail}
            if op.output is not None and samples.has_enumeration(out):
                # The call after the fault's is answered with a value its enumeration does not list.
                unlisted = samples.with_enumerations(out, samples.UNLISTED)
                plan["operations"][op.name]["unlisted"] = peer_values.node_soap_body(op, unlisted)
        plan_path = os.path.join(run.work, "node-plan.json")
        with open(plan_path, "w") as f:
            json.dump(plan, f)
        self.argv = [cfg.node, os.path.join(HERE, "soap_server.js"), cfg.node_modules, run.wsdl, plan_path, self.record]
        self.process = None
        self.port = None
        self.error = None

    def __enter__(self):
        self.process = peer_processes.PeerProcess(self.argv, self.log)
        ready = self.process.next_json(30)
        if ready and "port" in ready:
            self.port = ready["port"]
        else:
            self.error = "node-soap server did not start: %s" % (ready or {}).get("error", "no port")[:120]
        return self

    def __exit__(self, *exc):
        self.process.stop()
        return False

    def events(self):
        """(received raw requests, decoded calls, errors) in the order they happened."""
        events = []
        if os.path.exists(self.record):
            with open(self.record) as f:
                events = [json.loads(line) for line in f if line.strip()]
        return ([e for e in events if e["event"] == "received"], [e for e in events if e["event"] == "call"],
                [e for e in events if e["event"] == "error"])

    def replies(self):
        """The envelopes node-soap answered with, in order."""
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return [e["xml"] for e in map(json.loads, filter(str.strip, f)) if e["event"] == "replied"]

    @staticmethod
    def call_values(call):
        return peer_values.flatten(call["args"]) + peer_values.flatten(call["headers"])
