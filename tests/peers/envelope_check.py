"""Strict schema check of the envelopes we send: the service's schemas (embedded and imported),
element declarations for the rpc wrappers that the WSDL implies (operation name, or name +
"Response", in the soap:body namespace, one unqualified accessor per part), and the SOAP 1.1 and
SOAP 1.2 envelopes: an envelope must be of the version of the binding the service was read for. Validation is libxml2's, through lxml."""

import os
from lxml import etree

from wsdl_model import ENVELOPES, SOAP_ENC, WSDL, XSD, PARSER, qname, xs

XS_NS = {"xs": XSD}
SHORT_PREFIXES = {"http://schemas.xmlsoap.org/soap/envelope/": "env", ENVELOPES[12]: "env12", SOAP_ENC: "enc", XSD: "xs",
                  "http://www.w3.org/2001/XMLSchema-instance": "xsi", "http://www.w3.org/2005/08/addressing": "wsa",
                  "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecext-1.0.xsd": "wsse",
                  "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd": "wsu",
                  "http://www.w3.org/2000/09/xmldsig#": "ds"}


SOAP12_ENC = "http://www.w3.org/2003/05/soap-encoding"


def open_soap_array(restriction, version=11):
    """WSDL 1.1 declares a SOAP-encoded array as a restriction of soapenc:Array that names only the
    arrayType attribute; taken literally that content is empty, and no array with items would pass.
    The convention means soapenc:Array's own items (any elements, each checked by its xsi:type).
    A SOAP 1.2 service's arrays say their item type and size in SOAP 1.2's encoding instead, whose
    attributes a restriction cannot add: soapenc:Array is extended by them, and they are checked."""
    parent = restriction.getparent()
    if parent is None or parent.tag != xs("complexContent"):
        return
    prefix, _, local = (restriction.get("base") or "").rpartition(":")
    if local != "Array" or restriction.nsmap.get(prefix or None) != SOAP_ENC:
        return
    if any(child.tag in (xs("sequence"), xs("all"), xs("choice"), xs("group")) for child in restriction):
        return
    if version == 12:
        restriction.tag = xs("extension")
        for child in list(restriction):
            if child.tag != xs("annotation"):
                restriction.remove(child)
        for name in ("itemType", "arraySize"):
            etree.SubElement(restriction, xs("attribute"), nsmap={"enc12": SOAP12_ENC}, ref="enc12:" + name)
        return
    sequence = etree.Element(xs("sequence"))
    etree.SubElement(sequence, xs("any"), namespace="##any", processContents="lax", minOccurs="0", maxOccurs="unbounded")
    first = restriction[0] if len(restriction) else None
    restriction.insert(1 if first is not None and first.tag == xs("annotation") else 0, sequence)


def mixed_encoding(doc):
    """An element that declares SOAP 1.2's encoding holds no attribute of SOAP 1.1's encoding (its
    arrayType, offset, position, root) anywhere inside: None, else what it holds."""
    for styled in doc.iter(tag=etree.Element):
        if styled.get("{%s}encodingStyle" % ENVELOPES[12]) != SOAP12_ENC:
            continue
        for element in styled.iter(tag=etree.Element):
            for name in element.attrib:
                if etree.QName(name).namespace == SOAP_ENC:
                    return "SOAP 1.1 encoding's %s on %s in SOAP 1.2 encoding" % (etree.QName(name).localname,
                                                                                etree.QName(element).localname)
    return None


class EnvelopeCheck:
    def __init__(self, service, work, soap_schemas, envelope_schema, header_schemas=None):
        """header_schemas: namespace -> schema of header blocks (WS-Addressing, WS-Security) that
        are then checked wherever they appear, instead of passing unread."""
        self.svc = service
        self.work = os.path.join(work, "schemas")
        os.makedirs(self.work, exist_ok=True)
        self.known = {SOAP_ENC: os.path.join(soap_schemas, "soap-encoding.xsd"),
                      WSDL: os.path.join(soap_schemas, "wsdl10.xsd"),
                      ENVELOPES[11]: envelope_schema}
        if service.version == 12:
            self.known[ENVELOPES[12]] = os.path.join(os.path.dirname(envelope_schema), "soap12-envelope.xsd")
            self.known[SOAP12_ENC] = os.path.join(os.path.dirname(envelope_schema), "soap12-encoding.xsd")
        self.known.update(header_schemas or {})
        self.error = None
        self.schema = None
        try:
            self.schema = self._build()
        except (etree.XMLSchemaParseError, etree.XMLSyntaxError, OSError) as e:
            self.error = "schema bundle: %s" % str(e).splitlines()[0][:160]

    def _build(self):
        pieces = {}  # namespace -> [file]
        for i, (schema, path) in enumerate(self.svc.schemas):
            tns = schema.get("targetNamespace") or ""
            if tns in self.known:
                continue
            pieces.setdefault(tns, []).append((i, schema, path))
        hubs = {ns: os.path.join(self.work, "ns%d.xsd" % k) for k, ns in enumerate(sorted(pieces))}
        locations = dict(self.known)
        locations.update(hubs)
        self.locations = locations
        wrappers = self._wrappers()
        for ns in wrappers:
            if ns not in hubs:
                hubs[ns] = os.path.join(self.work, "ns%d.xsd" % len(hubs))
                locations[ns] = hubs[ns]
        for ns, hub in hubs.items():
            files = []
            for i, schema, path in pieces.get(ns, []):
                name = os.path.join(self.work, "piece%d.xsd" % i)
                self._write_piece(schema, path, name, locations)
                files.append(name)
            if ns in wrappers:
                name = hub[: -len(".xsd")] + "-wrappers.xsd"
                wrappers[ns].getroottree().write(name)
                files.append(name)
            root = etree.Element(xs("schema"), nsmap={"xs": XSD})
            if ns:
                root.set("targetNamespace", ns)
            for other, loc in sorted(locations.items()):
                if other != ns and other:
                    etree.SubElement(root, xs("import"), namespace=other, schemaLocation=loc)
            for f in files:
                etree.SubElement(root, xs("include"), schemaLocation=f)
            etree.ElementTree(root).write(hub)
        master = etree.Element(xs("schema"), nsmap={"xs": XSD}, targetNamespace="urn:kelvane:peer-check")
        for ns, loc in sorted(locations.items()):
            if ns:
                etree.SubElement(master, xs("import"), namespace=ns, schemaLocation=loc)
        if "" in hubs:
            # A schema without a target namespace is reached through a hub without one.
            etree.SubElement(master, xs("import"), schemaLocation=hubs[""])
        path = os.path.join(self.work, "master.xsd")
        etree.ElementTree(master).write(path)
        return etree.XMLSchema(etree.parse(path))

    def _write_piece(self, schema, source, name, locations):
        root = etree.Element(schema.tag, nsmap=dict((k, v) for k, v in schema.nsmap.items()))
        for k, v in schema.attrib.items():
            root.set(k, v)
        for child in schema:
            root.append(etree.fromstring(etree.tostring(child)) if isinstance(child.tag, str) else etree.Comment(""))
        own = schema.get("targetNamespace") or ""
        for imp in root.findall(xs("import")):
            ns = imp.get("namespace") or ""
            if ns == own:
                root.remove(imp)
            elif ns in locations:
                imp.set("schemaLocation", locations[ns])
            elif imp.get("schemaLocation") and "://" not in imp.get("schemaLocation"):
                imp.set("schemaLocation", os.path.normpath(os.path.join(os.path.dirname(source), imp.get("schemaLocation"))))
        # Includes were read into pieces of their own.
        for inc in root.findall(xs("include")):
            root.remove(inc)
        for restriction in list(root.iter(xs("restriction"))):
            open_soap_array(restriction, self.svc.version)
        if self.svc.version == 12:
            root.insert(0, etree.Element(xs("import"), namespace=SOAP12_ENC, schemaLocation=locations[SOAP12_ENC]))
        etree.ElementTree(root).write(name)

    def _wrappers(self):
        """namespace -> schema element declaring the rpc wrappers."""
        out = {}
        for op in self.svc.operations:
            if op.style != "rpc":
                continue
            for message, use, name, ns in self._wrapper_names(op):
                if self.svc.elements.get((ns or None, name)) is not None:
                    continue
                schema = out.get(ns)
                if schema is None:
                    schema = etree.Element(xs("schema"), nsmap={"xs": XSD, "enc": SOAP_ENC})
                    if ns:
                        schema.set("targetNamespace", ns)
                    for other, loc in sorted(self.locations.items()):
                        if other and other != ns:
                            etree.SubElement(schema, xs("import"), namespace=other, schemaLocation=loc)
                    out[ns] = schema
                if schema.find("xs:element[@name='%s']" % name, XS_NS) is not None:
                    continue
                el = etree.SubElement(schema, xs("element"), name=name)
                ct = etree.SubElement(el, xs("complexType"))
                seq = etree.SubElement(ct, xs("sequence"))
                for k, part in enumerate(op.body_parts(message, use)):
                    if part.element is not None:
                        ns_el, local = part.element
                        etree.SubElement(seq, xs("element"), nsmap={"p": ns_el} if ns_el else None,
                                         ref="p:%s" % local if ns_el else local)
                    else:
                        ns_t, local = part.type
                        acc = etree.SubElement(seq, xs("element"), nsmap={"t": ns_t} if ns_t else None,
                                               name=part.name, form="unqualified",
                                               type="t:%s" % local if ns_t else local)
                        if use.use == "encoded":
                            acc.set("nillable", "true")
                etree.SubElement(ct, xs("anyAttribute"), namespace="##other", processContents="lax")
        return out

    def _wrapper_names(self, op):
        """(message, use, element name, namespace) of the wrappers op may be sent with. Without a
        soap:body namespace (which the WS-I profile requires) the wrapper is accepted both in
        no namespace and in the WSDL's target namespace, as stacks differ there."""
        for message, use, name in ((op.input, op.in_use, op.name), (op.output, op.out_use, op.name + "Response")):
            if message is None:
                continue
            if use.namespace:
                yield message, use, name, use.namespace
            else:
                yield message, use, name, ""
                if self.svc.target_namespace:
                    yield message, use, name, self.svc.target_namespace

    def check(self, text):
        """None when the envelope is valid, else the first problem."""
        if self.schema is None:
            return self.error
        if isinstance(text, str):
            text = text.encode("utf-8")
        try:
            doc = etree.fromstring(text, PARSER)
        except etree.XMLSyntaxError as e:
            return "not well-formed: %s" % e
        wanted = ENVELOPES[self.svc.version]
        if etree.QName(doc).namespace != wanted:
            return "an Envelope of %s, not of %s" % (etree.QName(doc).namespace, wanted)
        mixed = mixed_encoding(doc)
        if mixed:
            return mixed
        if not self.schema.validate(doc):
            problems = []
            for err in list(self.schema.error_log)[:2]:
                message = err.message
                for ns, prefix in SHORT_PREFIXES.items():
                    message = message.replace("{%s}" % ns, prefix + ":")
                problems.append(message[:160])
            return " / ".join(problems)
        return None
