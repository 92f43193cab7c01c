"""Sample trees in the shapes the peers take them (node-soap objects, zeep arguments), values as
the peers give them back flattened and normalised, and the comparison of both."""

import base64
import collections
import datetime
import decimal
import math

from samples import leaves, INTEGERS, DECIMALS, NIL

XSI = "http://www.w3.org/2001/XMLSchema-instance"


def norm(value):
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, (bytes, bytearray)):
        value = base64.b64encode(bytes(value)).decode()
    if isinstance(value, (datetime.datetime, datetime.date, datetime.time)):
        value = value.isoformat()
    text = str(value).strip()
    if text in ("true", "false"):
        return "1" if text == "true" else "0"
    try:
        number = float(text)
        if math.isfinite(number) and not text.lower().startswith(("inf", "nan")):
            return "%.6g" % number
    except ValueError:
        pass
    if len(text) >= 19 and text[4:5] == "-" and text[10:11] in ("T", " "):
        text = text[:10] + "T" + text[11:19]
    return text


def markup_values(root):
    """The texts and attribute values inside an element; an xsi:type gives its QName resolved
    against the namespaces in scope ("xsi:type={namespace}name"), or the unresolved text."""
    out = [norm(t) for t in root.itertext() if t.strip()]
    for el in root.iter():
        if not isinstance(el.tag, str):
            continue
        for name, value in el.attrib.items():
            if name == "{%s}type" % XSI:
                prefix, _, local = value.rpartition(":")
                ns = el.nsmap.get(prefix or None)
                out.append("xsi:type={%s}%s" % (ns, local) if ns else "xsi:type=%s" % value)
            elif not name.startswith("{%s}" % XSI):
                out.append(norm(value))
    return out


def c_values(pairs):
    """The values a C driver printed, normalised; a text holding markup (what the structures keep
    of wildcard and anyType content) gives the values inside it."""
    from lxml import etree
    out = []
    for _, value in pairs:
        if value.startswith("<"):
            try:
                out += markup_values(etree.fromstring("<r>%s</r>" % value))
                continue
            except etree.XMLSyntaxError:
                pass
        out.append(norm(value))
    return out


def flatten(value, out=None):
    """Every scalar in a decoded object (dicts, lists, zeep objects serialised to dicts); a null
    stands for a nil element (an absent one gives a value no sample expects)."""
    if out is None:
        out = []
    from lxml import etree
    if value is None:
        out.append(NIL)
        return out
    if isinstance(value, etree._Element):  # content that zeep hands over as markup
        out += markup_values(value)
    elif isinstance(value, dict):
        for v in value.values():
            flatten(v, out)
    elif isinstance(value, (list, tuple)):
        for v in value:
            flatten(v, out)
    else:
        out.append(norm(value))
    return out


def expected_values(sample):
    values = []
    for node in sample["body"] + sample["headers"]:
        values += [norm(v) for _, v, _ in leaves(node)]
    return values


def missing(expected, got):
    """Values of expected that got lacks (as a multiset)."""
    have = collections.Counter(got)
    lost = []
    for v in expected:
        if have[v] > 0:
            have[v] -= 1
        else:
            lost.append(v)
    return lost


def children_by_name(node, convert):
    """A node's children converted, keyed by name; repeated names make a list."""
    obj = {}
    for child in node.get("c", []):
        value = convert(child)
        if child["n"] in obj:
            if not isinstance(obj[child["n"]], list):
                obj[child["n"]] = [obj[child["n"]]]
            obj[child["n"]].append(value)
        else:
            obj[child["n"]] = value
    return obj


# -- node-soap -----------------------------------------------------------------------------------
def node_soap_value(node):
    if node.get("nil"):
        return None  # node-soap writes a null as xsi:nil
    if node.get("anytype"):
        return {"$xml": "".join(xml_of(c) for c in node["c"])}  # written as it is
    if "c" not in node and "a" not in node:
        return node["v"]
    obj = children_by_name(node, node_soap_value)
    if node.get("enc") and "item" in obj and not isinstance(obj["item"], list):
        obj["item"] = [obj["item"]]
    if "v" in node:
        obj["$value"] = node["v"]
    if node.get("a"):
        obj["attributes"] = {a["n"]: a["v"] for a in node["a"]}
    return obj


def node_soap_body(op, sample):
    """What a node-soap service method returns for the output message."""
    body = sample["body"]
    if op.style == "rpc":
        return {node["part"]: node_soap_value(node) for node in body}
    if len(body) == 1:
        value = node_soap_value(body[0])
        return value if isinstance(value, dict) else {"$value": value}
    return {node["n"]: node_soap_value(node) for node in body}


def xml_of(node, prefixes=None):
    """A node as XML text (header blocks that node-soap sends as given, wildcard content);
    each namespace is declared once on the outermost element that uses it."""
    from xml.sax.saxutils import escape, quoteattr
    prefixes = dict(prefixes or {})
    decl = ""
    name = node["n"]
    if node.get("ns"):
        if node["ns"] not in prefixes:
            prefixes[node["ns"]] = "h%d" % (len(prefixes) + 1)
            decl = " xmlns:%s=%s" % (prefixes[node["ns"]], quoteattr(node["ns"]))
        name = "%s:%s" % (prefixes[node["ns"]], node["n"])
    attrs = "".join(" %s=%s" % (a["n"], quoteattr(a["v"])) for a in node.get("a", []) if not a.get("ns"))
    if node.get("xsi_type"):
        type_ns, type_name = node["xsi_type"]
        if type_ns not in prefixes:
            prefixes[type_ns] = "h%d" % (len(prefixes) + 1)
            decl += " xmlns:%s=%s" % (prefixes[type_ns], quoteattr(type_ns))
        attrs += ' xmlns:xsi=%s xsi:type="%s:%s"' % (quoteattr(XSI), prefixes[type_ns], type_name)
    if node.get("nil"):
        return "<%s%s xmlns:xsi=%s xsi:nil=\"true\"/>" % (name, decl, quoteattr(XSI))
    inner = escape(node["v"]) if "v" in node else "".join(xml_of(c, prefixes) for c in node.get("c", []))
    return "<%s%s%s>%s</%s>" % (name, decl, attrs, inner, name)


# -- zeep ----------------------------------------------------------------------------------------
def zeep_scalar(node):
    t, v = node.get("t"), node["v"]
    if t in INTEGERS:
        return int(v)
    if t in ("float", "double"):
        return float(v)
    if t == "decimal":
        return decimal.Decimal(v)
    if t == "boolean":
        return v == "true"
    if t == "base64Binary":
        return base64.b64decode(v)
    return v


def element_of(node):
    """A sample node as an lxml element."""
    from lxml import etree
    el = etree.Element("{%s}%s" % (node["ns"], node["n"]) if node.get("ns") else node["n"])
    for a in node.get("a", []):
        el.set("{%s}%s" % (a["ns"], a["n"]) if a.get("ns") else a["n"], a["v"])
    if "v" in node:
        el.text = node["v"]
    for c in node.get("c", []):
        el.append(element_of(c))
    return el


class Markup:
    """Content that zeep cannot write into an anyType element: zeep writes this token as its text,
    and the transport (zeep_peer.LocalTransport) puts the markup in its place."""
    pending = {}

    def __init__(self, nodes):
        self.token = "kelvane-markup-%d" % len(Markup.pending)
        Markup.pending[self.token] = "".join(xml_of(n) for n in nodes)

    def __str__(self):
        return self.token


def zeep_value(node):
    if node.get("nil"):
        return None  # zeep writes None of a nillable element as xsi:nil
    if node.get("anytype"):
        return Markup(node["c"])
    if "c" not in node and "a" not in node:
        return zeep_scalar(node)
    if node.get("enc"):
        # zeep 4.2.1 writes typed items (AnyObject) of a SOAP-encoded array as the last item's
        # bare text; items given as elements go out as they are.
        return [element_of(c) for c in node.get("c", [])]
    wildcard = [c for c in node.get("c", []) if c.get("any")]
    obj = children_by_name(dict(node, c=[dict(c, n="%s__%d" % (c["n"], c["twin"])) if c.get("twin") else c
                                         for c in node.get("c", []) if not c.get("any")]), zeep_value)
    if wildcard:
        items = [element_of(c) for c in wildcard]
        obj["_value_1"] = items[0] if len(items) == 1 else items
    for a in node.get("a", []):
        obj[a["n"]] = zeep_scalar(a)
    if "v" in node:
        obj["_value_1"] = zeep_scalar(node)
    return obj


def zeep_arguments(op, sample):
    """(positional, keyword) arguments of a zeep service call for the input message."""
    body = sample["body"]
    kwargs = {}
    args = []
    if op.style == "rpc":
        kwargs = {node["n"]: zeep_value(node) for node in body}
    elif len(body) == 1:
        value = zeep_value(body[0])
        if isinstance(value, dict):
            kwargs = value
        else:
            args = [value]
    else:
        args = [zeep_value(node) for node in body]
    if sample["headers"]:
        kwargs["_soapheaders"] = {node["part"]: zeep_value(node) for node in sample["headers"]}
    return args, kwargs
