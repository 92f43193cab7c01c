"""Sample values for the messages of an operation, derived from the schema: every leaf gets a
value of its type that is unique within the message where the type allows it, so that a value that
arrives under the wrong name or not at all is seen. Repeated elements get two items, or as many as a maxOccurs up to 7 admits; the branches
of a choice take turns; an optional element named "omitted..." gets none; a nillable element named
"nil..." stands as xsi:nil; a binary named "long..." is several hundred characters long, a text named
"huge..." 100,000 characters ("hugeMarked...": with characters to escape and of several bytes); an element of anyType named "markup..." holds nested markup of a namespace
no schema declares, one named "typed..." an element typed by xsi:type; a type met three times on the way
down is not entered again where it is optional (recursive lists).

A tree node is a dict: "n" name, "ns" namespace (None when unqualified), then either "v" (text
value, with "t" its built-in type) or "c" (child elements) and "a" (attributes), or "nil": True.
Content of anyType is marked "anytype" (its children "any"); an element typed by xsi:type holds
its type's QName in "xsi_type"."""

import json
import re

from wsdl_model import XSD, SOAP_ENC, WSDL, qname, xs
from lxml import etree

INTEGERS = {"int", "integer", "long", "short", "byte", "nonNegativeInteger", "positiveInteger",
            "unsignedInt", "unsignedLong", "unsignedShort", "unsignedByte", "nonPositiveInteger",
            "negativeInteger"}
DECIMALS = {"float", "double", "decimal"}
MAX_DEPTH = 6
NIL = "xsi:nil"  # the value a nil element stands for among the values that arrive
HUGE_LENGTH = 100000
FREE = "urn:kelvane:free"  # declared by no schema: content that only anyType admits
UNLISTED = "kelvane-unlisted"  # a value no enumeration lists


class Counter:
    def __init__(self, start):
        self.n = start

    def next(self):
        self.n += 1
        return self.n


def long_value(t, k):
    """A binary value of several hundred characters (far beyond the default text length)."""
    if t == "base64Binary":
        import base64
        return base64.b64encode(("long value %d " % k).encode() * 25).decode()
    if t == "hexBinary":
        return ("%04X" % k) * 100
    return None


def huge_text(k, marked):
    """A text of HUGE_LENGTH characters; marked: with characters to escape and characters of two
    and three bytes in UTF-8 (its message is then longer than the reader's capacity)."""
    unit = ("huge text %d <&> \u00e9\u20ac " if marked else "huge text %d ") % k
    return (unit * (HUGE_LENGTH // len(unit) + 1))[:HUGE_LENGTH - 1] + "."


def named_value(t, k, name):
    """builtin_value, or a long one for a binary whose name starts with "long", a huge text for a
    string whose name starts with "huge"."""
    if (name or "").startswith("long"):
        return long_value(t, k) or builtin_value(t, k)
    if (name or "").startswith("huge") and t == "string":
        return huge_text(k, name.startswith("hugeMarked"))
    return builtin_value(t, k)


def builtin_value(t, k):
    """A value of built-in type t made unique by k (1..99)."""
    if t in ("long", "integer", "unsignedLong"):
        return str(3000000000 + k)  # beyond 32 bits, also where C's long has 32
    if t == "byte":
        return str(-k)  # signed
    if t in INTEGERS:
        return str(-k) if t in ("nonPositiveInteger", "negativeInteger") else str(k)
    if t == "decimal":
        # more digits than a float keeps; also beyond 1e15 and below 1e-5, where printf's %g
        # would write an exponent, which a decimal does not have
        return ("12345678.9%02d" % k, "1234567890123%02d00000" % k, "0.000000123456%02d" % k)[k % 3]
    if t in DECIMALS:
        return "%d.5" % k
    if t == "boolean":
        return "true"  # false would read back as 0, which the drivers cannot tell from absent
    if t == "dateTime":
        return "2001-02-03T04:05:%02d" % (k % 60)
    if t == "date":
        return "2001-02-%02d" % (k % 28 + 1)
    if t == "time":
        return "04:05:%02d" % (k % 60)
    if t == "duration":
        return "P%dD" % k
    if t in ("gYear",):
        return str(1900 + k)
    if t == "base64Binary":
        import base64
        return base64.b64encode(("v%d" % k).encode()).decode()
    if t == "hexBinary":
        return "%04X" % k
    if t == "anyURI":
        return "urn:v%d" % k
    if t == "language":
        return "en"
    if t in ("QName",):
        return "q%d" % k
    return "s%d" % k


def facet_value(restriction, value, t, k):
    """value, or a value of the same kind that the restriction's pattern and length facets admit."""
    facets = {etree.QName(f).localname: f.get("value") for f in restriction if isinstance(f.tag, str)}
    pattern = facets.get("pattern")
    lengths = [int(facets[n]) for n in ("length", "minLength", "maxLength") if facets.get(n, "").isdigit()]

    def admitted(text):
        if "length" in facets and facets["length"].isdigit() and len(text) != int(facets["length"]):
            return False
        if facets.get("minLength", "").isdigit() and len(text) < int(facets["minLength"]):
            return False
        if facets.get("maxLength", "").isdigit() and len(text) > int(facets["maxLength"]):
            return False
        if pattern is not None:
            try:
                return re.fullmatch(pattern.replace("\\i", "[A-Za-z_]").replace("\\c", "[-.\\w]"), text) is not None
            except re.error:
                return True
        return True

    if admitted(value):
        return value
    candidates = [str(k), "s%d" % k, "S%d" % k, "A%d" % k]
    for n in lengths + list(range(1, 21)):
        candidates += [str(k).zfill(n)[-n:], ("s%d" % k).ljust(n, "x")[:n], ("A%d" % k).ljust(n, "Z")[:n].upper(),
                       "".join(chr(ord("A") + (k + i) % 26) for i in range(n))]
    return next((c for c in candidates if admitted(c)), value)


class SampleMaker:
    def __init__(self, service, start=10):
        self.svc = service
        self.count = Counter(start)
        self.notes = []
        self.turns = {}  # choice -> times met
        self.entered = []  # the types being filled, outermost first

    # -- simple types ---------------------------------------------------------------------------
    def simple_value(self, type_name, node=None):
        """(value, built-in name) for a simple type given by QName."""
        seen = 0
        while type_name is not None and seen < 20:
            seen += 1
            ns, local = type_name
            if ns in (XSD, SOAP_ENC) and local not in ("Array", "Struct"):
                return builtin_value(local, self.count.next()), local
            decl = self.svc.types.get(type_name)
            if decl is None:
                return builtin_value("string", self.count.next()), "string"
            return self.simple_decl_value(decl)
        return builtin_value("string", self.count.next()), "string"

    def simple_decl_value(self, decl):
        if decl.tag == xs("complexType"):
            sc = decl.find(xs("simpleContent"))
            if sc is not None:
                der = sc[0] if len(sc) else None
                if der is not None and der.get("base"):
                    return self.simple_value(qname(der, der.get("base")))
            return builtin_value("string", self.count.next()), "string"
        restriction = decl.find(xs("restriction"))
        if restriction is not None:
            enums = restriction.findall(xs("enumeration"))
            base = restriction.get("base")
            if enums:
                value = enums[self.count.next() % len(enums)].get("value")
                return value, "enum"
            value, t = None, "string"
            if base:
                value, t = self.simple_value(qname(restriction, base))
            inner = restriction.find(xs("simpleType"))
            if inner is not None:
                value, t = self.simple_decl_value(inner)
            if value is not None:
                return facet_value(restriction, value, t, self.count.n), t
        if decl.find(xs("list")) is not None:
            lst = decl.find(xs("list"))
            if lst.get("itemType"):
                return self.simple_value(qname(lst, lst.get("itemType")))
        union = decl.find(xs("union"))
        if union is not None:
            members = (union.get("memberTypes") or "").split()
            if members:
                return self.simple_value(qname(union, members[0]))
            inner = union.find(xs("simpleType"))
            if inner is not None:
                return self.simple_decl_value(inner)
        return builtin_value("string", self.count.next()), "string"

    # -- elements -------------------------------------------------------------------------------
    def for_part(self, part, accessor_ns=None):
        """The node of one message part: a global element, or an accessor named after the part."""
        if part.element is not None:
            decl = self.svc.elements.get(part.element)
            if decl is None:
                self.notes.append("no declaration of element %s" % (part.element,))
                return None
            return self.element(decl, True, 0)
        node = {"n": part.name, "ns": accessor_ns}
        self.fill_type(node, part.type, 0)
        return node

    def element(self, decl, is_global, depth):
        if decl.get("ref"):
            target = self.svc.elements.get(qname(decl, decl.get("ref")))
            if target is None:
                return None
            return self.element(target, True, depth)
        node = {"n": decl.get("name"),
                "ns": self.svc.target_of(decl) if self.svc.qualified(decl, is_global) else None}
        if decl.get("type"):
            self.fill_type(node, qname(decl, decl.get("type")), depth)
        else:
            inner = decl.find(xs("complexType"))
            simple = decl.find(xs("simpleType"))
            if inner is not None:
                self.fill_complex(node, inner, depth)
            elif simple is not None:
                node["v"], node["t"] = self.simple_decl_value(simple)
            else:
                self.fill_type(node, (XSD, "anyType"), depth)
        return node

    def any_type_content(self, node, depth):
        """Content of anyType: nested markup with attributes, or for a node named "typed..." an
        element that its xsi:type gives a complex type of the service."""
        node["anytype"], node["c"] = True, []
        if node["n"].startswith("typed"):
            typed = self.typed_element(depth)
            if typed is not None:
                node["c"].append(typed)
                return
        k = self.count.next
        inner = {"n": "b", "ns": None, "v": builtin_value("string", k())}
        nested = {"n": "i", "ns": FREE, "c": [{"n": "b", "ns": None, "v": builtin_value("string", k())}]}
        node["c"] = [{"n": "para", "ns": FREE, "a": [{"n": "lang", "ns": None, "v": builtin_value("string", k())}],
                      "c": [inner, nested], "any": True},
                     {"n": "para", "ns": FREE, "v": builtin_value("string", k()), "any": True}]

    def typed_element(self, depth):
        """An element of no schema typed by the complex type of the service whose sample is
        shortest as markup (and holds no anyType content)."""
        if depth >= MAX_DEPTH - 1:
            return None
        trials = []
        for name, decl in sorted(self.svc.types.items(), key=lambda kv: (kv[0][0] or "", kv[0][1])):
            if decl.tag == xs("complexType"):
                trial = {"n": "value", "ns": FREE}
                SampleMaker(self.svc, 0).fill_type(trial, name, MAX_DEPTH - 2)
                trials.append((name, trial))
        best = shortest(trials)
        if best is None:
            return None
        item = {"n": "value", "ns": FREE, "xsi_type": best, "any": True}
        self.fill_type(item, best, depth + 1)
        return item

    def fill_type(self, node, type_name, depth):
        ns, local = type_name
        if (ns, local) == (XSD, "anyType") and (node.get("n") or "").startswith(("markup", "typed")):
            self.any_type_content(node, depth)
            return
        if (ns, local) == (XSD, "anyType"):
            node["v"], node["t"] = builtin_value("string", self.count.next()), "string"
            return
        if ns in (XSD, SOAP_ENC) and local not in ("Array", "Struct", "anyType"):
            node["v"], node["t"] = named_value(local, self.count.next(), node.get("n")), local
            return
        decl = self.svc.types.get(type_name)
        if decl is None or decl.tag == xs("simpleType"):
            node["v"], node["t"] = self.simple_value(type_name)
            return
        self.entered.append(type_name)
        self.fill_complex(node, decl, depth)
        self.entered.pop()

    def fill_complex(self, node, decl, depth):
        sc = decl.find(xs("simpleContent"))
        if sc is not None:
            node["v"], node["t"] = self.simple_decl_value(decl)
            node["a"] = []
            for der in sc:
                if isinstance(der.tag, str):
                    self.attributes(node, der)
            return
        node["c"], node["a"] = [], []
        if depth >= MAX_DEPTH:
            return
        array = self.soap_array_item(decl)
        if array is not None:
            item_type, array_type = array
            node["enc"] = array_type or "%s:%s[]" % item_type
            for _ in range(2):
                item = {"n": "item", "ns": None}
                self.fill_type(item, item_type, depth + 1)
                node["c"].append(item)
            return
        self.content(node, decl, depth)

    def soap_array_item(self, decl):
        """(item type, arrayType text) when decl restricts SOAP-ENC:Array."""
        cc = decl.find(xs("complexContent"))
        if cc is None:
            return None
        der = cc.find(xs("restriction"))
        if der is None or qname(der, der.get("base")) != (SOAP_ENC, "Array"):
            return None
        for attr in der.iter(xs("attribute")):
            text = attr.get("{%s}arrayType" % WSDL)
            if text:
                base = text.split("[")[0]
                return qname(attr, base), text
        el = der.find(".//" + xs("element"))
        if el is not None and el.get("type"):
            return qname(el, el.get("type")), None
        return (XSD, "string"), None

    def content(self, node, decl, depth):
        cc = decl.find(xs("complexContent"))
        if cc is not None:
            der = cc.find(xs("extension"))
            if der is None:
                der = cc.find(xs("restriction"))
            if der is not None:
                if der.tag == xs("extension") and der.get("base"):
                    base = self.svc.types.get(qname(der, der.get("base")))
                    if base is not None and base.tag == xs("complexType"):
                        self.content(node, base, depth)
                self.particles(node, der, depth)
                self.attributes(node, der)
            return
        self.particles(node, decl, depth)
        self.attributes(node, decl)

    def particles(self, node, parent, depth):
        for child in parent:
            if not isinstance(child.tag, str):
                continue
            local = etree.QName(child).localname
            if local in ("sequence", "all"):
                self.particles(node, child, depth)
            elif local == "choice":
                branches = [c for c in child if isinstance(c.tag, str) and etree.QName(c).localname != "annotation"]
                if branches:
                    key = child.getroottree().getpath(child)
                    turn = self.turns.get(key, 0)
                    self.turns[key] = turn + 1
                    self.particle(node, branches[turn % len(branches)], depth)
            elif local == "group" and child.get("ref"):
                group = self.svc.groups.get(qname(child, child.get("ref")))
                if group is not None:
                    self.particles(node, group, depth)
            elif local == "element":
                self.particle(node, child, depth)
            elif local == "any":
                item = self.any_element(child, depth)
                if item is None:
                    self.notes.append("xsd:any in %s carries no sample" % node["n"])
                else:
                    node["c"].append(item)

    def any_element(self, wildcard, depth):
        """A sample for an element wildcard: the global element of a namespace the wildcard
        admits whose sample is shortest as markup (and holds no wildcard itself), marked as
        wildcard content."""
        allowed = (wildcard.get("namespace") or "##any").split()
        own = self.svc.target_of(wildcard)
        if depth >= MAX_DEPTH - 1:
            return None
        trials = []
        for (ns, name), decl in sorted(self.svc.elements.items(), key=lambda kv: (kv[0][0] or "", kv[0][1])):
            if ("##any" in allowed or (ns != own and "##other" in allowed) or ns in allowed
                    or (ns == own and "##targetNamespace" in allowed)):
                trials.append((decl, SampleMaker(self.svc, 0).element(decl, True, MAX_DEPTH - 2)))
        best = shortest(trials)
        if best is None:
            return None
        item = self.element(best, True, depth + 1)
        item["any"] = True
        return item

    def particle(self, node, child, depth):
        local = etree.QName(child).localname
        if local != "element":
            self.particles(node, [child], depth)
            return
        most = child.get("maxOccurs", "1")
        if most == "0":
            return
        optional = child.get("minOccurs") == "0"
        if optional and (child.get("name") or "").startswith("omitted"):
            return
        if optional and child.get("type") and self.entered.count(qname(child, child.get("type"))) >= 3:
            return
        items = min(int(most), 7) if most.isdigit() else 2
        if child.get("nillable") == "true" and (child.get("name") or "").startswith("nil"):
            qualified = self.svc.qualified(child, False)
            for _ in range(items):
                node["c"].append({"n": child.get("name"), "ns": self.svc.target_of(child) if qualified else None,
                                  "nil": True})
            return
        # An element of a derived type that its base declares too: the k-th of its name after the
        # first, which zeep calls "name__k".
        twin = sum(1 for c in node["c"] if c["n"] == child.get("name")) if most == "1" else 0
        for _ in range(items):
            item = self.element(child, False, depth + 1)
            if item is not None:
                if twin:
                    item["twin"] = twin
                node["c"].append(item)

    def attributes(self, node, parent):
        for child in parent:
            if not isinstance(child.tag, str):
                continue
            local = etree.QName(child).localname
            if local == "attribute":
                if child.get("use") == "prohibited":
                    continue
                decl, is_global = child, False
                if child.get("ref"):
                    ref = qname(child, child.get("ref"))
                    if ref[0] in (SOAP_ENC, WSDL):
                        continue
                    decl, is_global = self.svc.attributes.get(ref), True
                    if decl is None:
                        continue
                ns = self.svc.target_of(decl) if self.svc.qualified(decl, is_global, "attributeFormDefault") else None
                if decl.get("type"):
                    value, t = self.simple_value(qname(decl, decl.get("type")))
                    if (decl.get("name") or "").startswith("long") and long_value(t, 1) is not None:
                        value = long_value(t, self.count.next())
                elif decl.find(xs("simpleType")) is not None:
                    value, t = self.simple_decl_value(decl.find(xs("simpleType")))
                else:
                    value, t = builtin_value("string", self.count.next()), "string"
                node.setdefault("a", []).append({"n": decl.get("name"), "ns": ns, "v": value, "t": t, "attribute": True})
            elif local == "attributeGroup" and child.get("ref"):
                group = self.svc.attribute_groups.get(qname(child, child.get("ref")))
                if group is not None:
                    self.attributes(node, group)
            elif local == "anyAttribute":
                self.notes.append("anyAttribute in %s carries no sample" % node["n"])


def message_samples(service, op, message, use, start):
    """The body parts and header parts of one message as sample nodes."""
    maker = SampleMaker(service, start)
    accessor_ns = None
    body = []
    for part in op.body_parts(message, use):
        node = maker.for_part(part, accessor_ns)
        if node is not None:
            node["part"] = part.name
            body.append(node)
    headers = []
    for msg, part_name, _ in use.headers:
        part = next((p for p in msg.parts if p.name == part_name), None)
        if part is None:
            continue
        node = maker.for_part(part)
        if node is not None:
            node["part"] = part.name
            headers.append(node)
    return {"body": body, "headers": headers, "notes": maker.notes}


def shortest(trials):
    """The key of the trial sample (key, node) shortest as markup among those that hold values and
    no wildcard or anyType content; None when there is none."""
    from peer_values import xml_of
    best = None
    for key, node in trials:
        text = json.dumps(node) if node is not None else ""
        if node is None or not list(leaves(node)) or '"any": true' in text or '"anytype": true' in text:
            continue
        size = len(xml_of(node))
        if best is None or size < best[0]:
            best = (size, key)
    return None if best is None else best[1]


def with_enumerations(sample, value):
    """A copy of a message's sample whose enumerated elements hold value (see enumerated)."""
    def copy(node):
        if node.get("any") or node.get("anytype"):
            return node
        node = dict(node, **{key: [copy(c) for c in node[key]] for key in ("c", "a") if key in node})
        if enumerated(node):
            node["v"] = value
        return node
    return dict(sample, body=[copy(n) for n in sample["body"]], headers=[copy(n) for n in sample["headers"]])


def enumerated(node):
    """Whether a node is an element or attribute of an enumerated type (wildcard content, which
    the structures hold as markup, is left out)."""
    return node.get("t") == "enum"


def has_enumeration(sample):
    def walk(node):
        return enumerated(node) or (not node.get("any") and not node.get("anytype")
                                    and any(walk(c) for c in node.get("c", []) + node.get("a", [])))
    return any(walk(node) for node in sample["body"] + sample["headers"])


def type_names(sample):
    """The xsi:type QNames of a sample's typed elements, as the values a reader gives them."""
    def names(node):
        own = ["xsi:type={%s}%s" % node["xsi_type"]] if node.get("xsi_type") else []
        return own + [n for c in node.get("c", []) for n in names(c)]
    return [n for node in sample["body"] + sample["headers"] for n in names(node)]


def leaves(node, path=()):
    """(path, value, type) of every value in a tree."""
    path = path + (node["n"],)
    if node.get("nil"):
        yield path, NIL, "nil"
    if "v" in node:
        yield path, node["v"], node.get("t", "string")
    for a in node.get("a", []):
        yield path + ("@" + a["n"],), a["v"], a.get("t", "string")
    for c in node.get("c", []):
        yield from leaves(c, path)
