"""The parts of a WSDL 1.1 document and its schemas that the peer test needs: the operations of
the SOAP 1.1 binding (or of the SOAP 1.2 one) with their messages, and an index of the schema components, read with lxml
independently of Kelvane's own reader."""

import os
from lxml import etree

WSDL = "http://schemas.xmlsoap.org/wsdl/"
SOAP = "http://schemas.xmlsoap.org/wsdl/soap/"
SOAP12 = "http://schemas.xmlsoap.org/wsdl/soap12/"
ENVELOPES = {11: "http://schemas.xmlsoap.org/soap/envelope/", 12: "http://www.w3.org/2003/05/soap-envelope"}
XSD = "http://www.w3.org/2001/XMLSchema"
XSD_OLD = ("http://www.w3.org/1999/XMLSchema", "http://www.w3.org/2000/10/XMLSchema")
SOAP_ENC = "http://schemas.xmlsoap.org/soap/encoding/"

PARSER = etree.XMLParser(resolve_entities=False, no_network=True, load_dtd=False, remove_comments=True)


def qname(node, text):
    """Resolves a prefixed name against the namespaces in scope at node."""
    if text is None:
        return None
    text = text.strip()
    prefix, _, local = text.rpartition(":")
    ns = node.nsmap.get(prefix or None)
    if ns in XSD_OLD:
        ns = XSD
    return (ns, local)


def xs(tag):
    return "{%s}%s" % (XSD, tag)


class Part:
    def __init__(self, name, element, type_):
        self.name, self.element, self.type = name, element, type_


class Message:
    def __init__(self, name, parts):
        self.name, self.parts = name, parts


class BodyUse:
    """What soap:body and soap:header say for one direction of an operation."""

    def __init__(self):
        self.use = "literal"
        self.namespace = None
        self.parts = None  # names, or None for all
        self.headers = []  # (Message, part name, use)


class Operation:
    def __init__(self, name):
        self.name = name
        self.style = "document"
        self.action = None
        self.input = None  # Message
        self.output = None
        self.faults = []
        self.in_use = BodyUse()
        self.out_use = BodyUse()

    def body_parts(self, message, use):
        header_parts = {(m.name, p) for m, p, _ in use.headers}
        parts = [p for p in message.parts if (message.name, p.name) not in header_parts]
        if use.parts is not None:
            parts = [p for p in message.parts if p.name in use.parts]
        return parts


class Service:
    """The first SOAP 1.1 port of the document (version 12: SOAP 1.2 port), its operations in
    binding order, and every schema that the document embeds or imports."""

    def __init__(self, path, version=11):
        self.path = os.path.abspath(path)
        self.version = version
        self.soap = SOAP12 if version == 12 else SOAP
        self.schemas = []  # (element, base path)
        self.elements, self.types, self.groups, self.attribute_groups, self.attributes = {}, {}, {}, {}, {}
        self.messages, self.port_types, self.bindings, self.ports = {}, {}, {}, []
        self.target_namespace = None
        self._seen = set()
        self._read_wsdl(self.path, top=True)
        for schema, _ in self.schemas:
            self._index(schema)
        self.operations = self._operations()

    # -- reading -------------------------------------------------------------------------------
    def _read_wsdl(self, path, top=False):
        if path in self._seen:
            return
        self._seen.add(path)
        root = etree.parse(path, PARSER).getroot()
        if root.tag == xs("schema"):
            self._add_schema(root, path)
            return
        tns = root.get("targetNamespace")
        if top:
            self.target_namespace = tns
        for imp in root.findall("{%s}import" % WSDL):
            loc = imp.get("location")
            if loc and "://" not in loc:
                self._read_wsdl(os.path.normpath(os.path.join(os.path.dirname(path), loc)))
        for types in root.findall("{%s}types" % WSDL):
            for schema in types:
                if schema.tag in [xs("schema")] + ["{%s}schema" % o for o in XSD_OLD]:
                    self._add_schema(schema, path)
        for m in root.findall("{%s}message" % WSDL):
            parts = [Part(p.get("name"), qname(p, p.get("element")), qname(p, p.get("type")))
                     for p in m.findall("{%s}part" % WSDL)]
            self.messages[(tns, m.get("name"))] = Message(m.get("name"), parts)
        for pt in root.findall("{%s}portType" % WSDL):
            self.port_types[(tns, pt.get("name"))] = pt
        for b in root.findall("{%s}binding" % WSDL):
            if b.find("{%s}binding" % self.soap) is not None:
                self.bindings[(tns, b.get("name"))] = b
        for svc in root.findall("{%s}service" % WSDL):
            for port in svc.findall("{%s}port" % WSDL):
                if port.find("{%s}address" % self.soap) is not None:
                    self.ports.append((svc.get("name"), port.get("name"), qname(port, port.get("binding"))))

    def _add_schema(self, schema, path):
        key = (path, schema.sourceline, schema.get("targetNamespace"))
        if key in self._seen:
            return
        self._seen.add(key)
        self.schemas.append((schema, path))
        for ref in schema.findall(xs("import")) + schema.findall(xs("include")) + schema.findall(xs("redefine")):
            loc = ref.get("schemaLocation")
            if not loc or "://" in loc:
                continue
            target = os.path.normpath(os.path.join(os.path.dirname(path), loc))
            if target in self._seen or not os.path.exists(target):
                continue
            self._seen.add(target)
            root = etree.parse(target, PARSER).getroot()
            if ref.tag == xs("include") and root.get("targetNamespace") is None:
                root.set("targetNamespace", schema.get("targetNamespace") or "")
            self._add_schema(root, target)

    def _index(self, schema):
        tns = schema.get("targetNamespace") or None
        tables = {"element": self.elements, "complexType": self.types, "simpleType": self.types,
                  "group": self.groups, "attributeGroup": self.attribute_groups, "attribute": self.attributes}
        for node in schema:
            if not isinstance(node.tag, str):
                continue
            local = etree.QName(node).localname
            if local in tables and node.get("name"):
                tables[local].setdefault((tns, node.get("name")), node)

    def _operations(self):
        if not self.ports:
            return []
        _, _, binding_name = self.ports[0]
        binding = self.bindings.get(binding_name)
        if binding is None:
            return []
        port_type = self.port_types.get(qname(binding, binding.get("type")))
        style = binding.find("{%s}binding" % self.soap).get("style", "document")
        abstract = {}
        if port_type is not None:
            for op in port_type.findall("{%s}operation" % WSDL):
                abstract[op.get("name")] = op
        ops = []
        for bop in binding.findall("{%s}operation" % WSDL):
            op = Operation(bop.get("name"))
            soap_op = bop.find("{%s}operation" % self.soap)
            op.style = style
            if soap_op is not None:
                op.style = soap_op.get("style", style)
                op.action = soap_op.get("soapAction")
            aop = abstract.get(op.name)
            if aop is None:
                continue
            for direction, use_attr, msg_attr in (("input", "in_use", "input"), ("output", "out_use", "output")):
                a = aop.find("{%s}%s" % (WSDL, direction))
                if a is not None:
                    setattr(op, msg_attr, self.messages.get(qname(a, a.get("message"))))
                b = bop.find("{%s}%s" % (WSDL, direction))
                use = getattr(op, use_attr)
                if b is None:
                    continue
                body = b.find("{%s}body" % self.soap)
                if body is not None:
                    use.use = body.get("use", "literal")
                    use.namespace = body.get("namespace")
                    if body.get("parts") is not None:
                        use.parts = body.get("parts").split()
                for h in b.findall("{%s}header" % self.soap):
                    msg = self.messages.get(qname(h, h.get("message")))
                    if msg is not None:
                        use.headers.append((msg, h.get("part"), h.get("use", "literal")))
            for f in aop.findall("{%s}fault" % WSDL):
                msg = self.messages.get(qname(f, f.get("message")))
                if msg is not None:
                    op.faults.append((f.get("name"), msg))
            if op.input is not None:
                ops.append(op)
        return ops

    # -- schema look-ups -----------------------------------------------------------------------
    @staticmethod
    def schema_of(node):
        while node is not None and node.tag != xs("schema"):
            node = node.getparent()
        return node

    def qualified(self, decl, is_global, default_attribute="elementFormDefault"):
        """Whether a declaration's name is in its schema's namespace (form, or the schema's default)."""
        if is_global:
            return True
        form = decl.get("form")
        if form is None:
            form = self.schema_of(decl).get(default_attribute, "unqualified")
        return form == "qualified"

    def target_of(self, decl):
        return self.schema_of(decl).get("targetNamespace") or None
