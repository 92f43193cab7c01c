"""Writes the C driver of one generated library: a client that sends every operation's request
(filled with the sample values) and prints what the response decoded to, and a server that prints
what each request decoded to and answers with the response message (filled with its samples).

The driver knows the generated API only from the generated header: the packet's message union,
the message constants and the structures' members. Members are matched to sample nodes by name."""

import json
import re

SCALARS_FLOAT = {"float", "double", "long double"}
PACKET_FIXED = {"http_headers", "http_headers_count", "boundary_part", "msg_type", "msg",
                "attachment_length", "attachment", "msg_direction", "decode_fault", "soap_version",
                "decode_error", "http_headers_received", "boundary_received", "authorization"}


class Member:
    def __init__(self, ctype, name, dims):
        self.ctype, self.name, self.dims = ctype.strip(), name, dims

    def __repr__(self):
        return "%s %s%s" % (self.ctype, self.name, "".join("[%s]" % d for d in self.dims))


class Header:
    """The structures, message constants and operation names of a generated header."""

    def __init__(self, text, prefix, source=""):
        self.prefix = prefix
        self.upper = prefix.upper()
        self.structs = {}  # every typedef name -> [Member]
        for m in re.finditer(r"typedef struct (\w+)\s*\{", text):
            body, end = self._braced(text, m.end() - 1)
            aliases = re.match(r"\s*([\w ,]+);", text[end:])
            members = self._arrays(self._members(re.sub(r"union\s*\{.*?\}\s*\w*\s*;", "", body, flags=re.S)))
            self.structs[m.group(1)] = members
            for alias in (aliases.group(1).split(",") if aliases else []):
                self.structs[alias.strip()] = members
        plain = re.findall(r"typedef\s+(?:struct\s+)?(\w+)\s+(\w+)\s*;", text)
        for _ in range(len(plain)):
            grew = False
            for target, alias in plain:
                if target in self.structs and alias not in self.structs:
                    self.structs[alias] = self.structs[target]
                    grew = True
            if not grew:
                break
        self.tags = {}  # constant stem -> XML name
        for m in re.finditer(r'#define %s_(\w+)_TAG\s+"([^"]*)"' % re.escape(self.upper), text):
            self.tags[m.group(1)] = m.group(2)
        enum = re.search(r"enum\s*\{(.*?)\}", text, re.S)
        self.constants = re.findall(r"(%s_PROTO_\w+)\s*=" % re.escape(self.upper), enum.group(1)) if enum else []
        packet = self.structs.get("%s_proto_packet_t" % prefix, [])
        union = re.search(r"union\s*\{(.*?)\}\s*msg;", text, re.S)
        self.union = self._members(union.group(1)) if union else []
        self.packet_headers = [m for m in packet if m.name not in PACKET_FIXED]
        # Which message a constant sends: the library's own dispatch says it; failing that, the
        # union lists the messages in the order of the constants after HTTP and SOAP_FAULT.
        self.message_of = {}
        by_name = {m.name: m for m in self.union}
        for const, message in re.findall(r"case (%s_PROTO_\w+):\s*result = %s_(\w+)_send\(" % (
                re.escape(self.upper), re.escape(prefix)), source):
            if message in by_name:
                self.message_of[const] = by_name[message]
        if not self.message_of:
            for const, member in zip(self.constants[2:], self.union[2:]):
                self.message_of[const] = member

    @staticmethod
    def _braced(text, start):
        """(text inside the brace at start, index after its closing brace)."""
        depth = 0
        for i in range(start, len(text)):
            if text[i] == "{":
                depth += 1
            elif text[i] == "}":
                depth -= 1
                if depth == 0:
                    return text[start + 1:i], i + 1
        return text[start + 1:], len(text)

    @staticmethod
    def _arrays(members):
        """An array is a pointer to its items beside a count: its first dimension becomes "*"."""
        names = {m.name for m in members}
        for m in members:
            m.ctype = re.sub(r"^struct\s+", "", m.ctype)
            if m.name + "_count" in names and m.ctype.endswith("*"):
                m.ctype = m.ctype[:-1].strip()
                m.dims = ["*"] + m.dims
        return members

    @staticmethod
    def _members(body):
        members = []
        for line in body.split(";"):
            line = re.sub(r"//[^\n]*", "", line).strip()
            if not line or line.startswith("union") or "{" in line or "}" in line:
                continue
            texts = re.match(r"(.*?)\(\s*\*\s*(\w+)\s*\)\s*((?:\[[^\]]*\])*)$", line, re.S)
            if texts:  # char (*items)[N+1]: a pointer to texts
                members.append(Member(texts.group(1) + "*", texts.group(2), re.findall(r"\[([^\]]*)\]", texts.group(3))))
                continue
            m = re.match(r"(.*?)(\**)\s*\b(\w+)\s*((?:\[[^\]]*\])*)$", line, re.S)
            if not m:
                continue
            dims = re.findall(r"\[([^\]]*)\]", m.group(4))
            members.append(Member(m.group(1) + m.group(2), m.group(3), dims))
        return members

    def empty_body_constant(self, op, direction):
        """The constant of a document message that stands in an empty Body: it has no tag, and is
        named after its operation (and "_RESPONSE")."""
        message, use = (op.input, op.in_use) if direction == "input" else (op.output, op.out_use)
        if op.style == "rpc" or op.body_parts(message, use):
            return None
        const = "%s_PROTO_%s%s" % (self.upper, re.sub(r"\W", "_", op.name).upper(),
                                   "_RESPONSE" if direction == "output" else "")
        return const if const in self.constants else None

    def constant_of(self, xml_name):
        """The message constant whose tag is xml_name (the body's first element)."""
        for stem, name in self.tags.items():
            const = "%s_PROTO_%s" % (self.upper, stem)
            if name == xml_name and const in self.constants:
                return const
        return None


def c_string(text):
    out = '"'
    for ch in text.encode("utf-8"):
        c = chr(ch)
        if c in '"\\':
            out += "\\" + c
        elif 32 <= ch < 127:
            out += c
        else:
            out += "\\%03o" % ch
    return out + '"'


def sanitized(name):
    return re.sub(r"[^A-Za-z0-9_]", "_", name)


def flags_of(members):
    """The presence and nil flags beside members (<member>_present, <member>_nil)."""
    names = {m.name for m in members}
    return {m.name for m in members
            for suffix in ("_present", "_nil") if m.name.endswith(suffix) and m.name[: -len(suffix)] in names}


class Matcher:
    """Finds the sample nodes of a C member among a node's children and attributes."""

    @staticmethod
    def candidates(member, nodes):
        names = [member.name]
        for suffix in ("_msg", "_attr", "_"):
            if member.name.endswith(suffix):
                names.append(member.name[: -len(suffix)])
        if member.name.startswith("_"):
            names.append(member.name[1:])
        found = [n for n in nodes if n["n"] in names or sanitized(n["n"]) in names or n.get("part") in names]
        if not found:
            lowered = [x.lower() for x in names]
            found = [n for n in nodes if sanitized(n["n"]).lower() in lowered]
        return found


    @staticmethod
    def twins(members, names, matched):
        """A derived type that declares again an element of its base has a member for each, X and
        then X_2, X_3 ...: the k-th element of the name goes to the k-th (matched changes)."""
        firsts = set()
        for m in members:
            first, _, k = m.name.rpartition("_")
            if matched[m.name] or not k.isdigit() or int(k) < 2 or first not in matched or first + "_count" in names:
                continue
            if len(matched[first]) >= int(k):
                matched[m.name] = [matched[first][int(k) - 1]]
                firsts.add(first)
        for first in firsts:
            matched[first] = matched[first][:1]


class Writer:
    """Emits the fill and dump functions."""

    def __init__(self, header):
        self.h = header
        self.lines = []
        self.unmatched = []
        self.assigned = []  # sample values that went into a member

    def is_struct(self, ctype):
        return ctype in self.h.structs

    def fill(self, member, expr, nodes, indent="\t"):
        """Assigns the sample values of nodes (the matches of member) to expr."""
        if not nodes:
            return
        base = member.ctype
        string = base in ("char", "unsigned char") and len(member.dims) >= 1
        array_dims = member.dims[:-1] if string else member.dims
        if array_dims:
            count = len(nodes)
            items = nodes
            if len(nodes) == 1 and "c" in nodes[0] and self._is_array_wrapper(member, nodes[0]):
                items = nodes[0]["c"]
            if array_dims[0] == "*":
                self.lines.append("%s%s = calloc(%d, sizeof(*%s));" % (indent, expr, max(1, len(items)), expr))
            for i, node in enumerate(items):
                if array_dims[0] == "*":
                    self.lines.append("%sif(%s != NULL){" % (indent, expr))
                else:
                    self.lines.append("%sif(%d < (int)(sizeof(%s)/sizeof(%s[0]))){" % (indent, i, expr, expr))
                self.fill(Member(base, member.name, member.dims[len(array_dims):]), "%s[%d]" % (expr, i), [node], indent + "\t")
                self.lines.append("%s}" % indent)
            count = len(items)
            self.lines.append("%s/*count*/ COUNT_%s = %d;" % (indent, member.name, count))
            return
        node = nodes[0]
        if base.endswith("*") and self.is_struct(base[:-1].strip()):
            # A struct held by pointer (types that hold each other).
            self.lines.append("%s%s = calloc(1, sizeof(*%s));" % (indent, expr, expr))
            self.lines.append("%sif(%s != NULL){" % (indent, expr))
            self.fill(Member(base[:-1].strip(), member.name, []), "(*%s)" % expr, nodes, indent + "\t")
            self.lines.append("%s}" % indent)
            return
        if self.is_struct(base):
            children = node.get("c", []) + node.get("a", [])
            if "v" in node:
                children = children + [dict(node, n="_value", c=[], a=[])]
            self.fill_struct(base, expr, children, node, indent)
            return
        wildcard = [c for c in node.get("c", []) if c.get("any")]
        if "v" not in node and (string or base.endswith("*")) and wildcard:
            # A wildcard's content is held as the markup it is.
            from peer_values import xml_of
            from samples import leaves
            markup = c_string("".join(xml_of(c) for c in wildcard))
            if string:
                self.lines.append('%ssnprintf(%s, sizeof(%s), "%%s", %s);' % (indent, expr, expr, markup))
            else:
                self.lines.append("%sif((%s = (%s)malloc(sizeof(%s))) != NULL) memcpy(%s, %s, sizeof(%s));" % (
                    indent, expr, base, markup, expr, markup, markup))
            self.assigned += [v for c in wildcard for _, v, _ in leaves(c)]
            return
        if "v" not in node:
            self.unmatched.append("%s: no value for a leaf" % member.name)
            return
        value = node["v"]
        if string or base.endswith("*") or self.numeric(value):
            self.assigned.append(value)
        if node.get("t") == "enum" and (string or base.endswith("*")):
            # An enumerated value: the client's call that must be refused sends an unlisted one.
            if string:
                self.lines.append('%ssnprintf(%s, sizeof(%s), "%%s", enumerated(%s));' % (indent, expr, expr, c_string(value)))
            else:
                self.lines.append("%s{ const char *v_ = enumerated(%s); if((%s = (%s)malloc(strlen(v_) + 1)) != NULL) strcpy(%s, v_); }" % (
                    indent, c_string(value), expr, base, expr))
            return
        if string:
            self.lines.append('%ssnprintf(%s, sizeof(%s), "%%s", %s);' % (indent, expr, expr, c_string(value)))
        elif base.endswith("*"):
            # An allocated text (a binary's): the packet's free function frees it.
            literal = c_string(value)
            self.lines.append("%sif((%s = (%s)malloc(sizeof(%s))) != NULL) memcpy(%s, %s, sizeof(%s));" % (
                indent, expr, base, literal, expr, literal, literal))
        elif base in SCALARS_FLOAT:
            self.lines.append("%s%s = %s;" % (indent, expr, self.number(value)))
        else:
            self.lines.append("%s%s = (%s)%s;" % (indent, expr, base, self.integer(value)))

    def _is_array_wrapper(self, member, node):
        names = {c["n"] for c in node.get("c", [])}
        return len(node.get("c", [])) > 1 and len(names) == 1

    @staticmethod
    def numeric(value):
        try:
            float(value)
            return True
        except ValueError:
            return value in ("true", "false")

    @staticmethod
    def number(value):
        try:
            return repr(float(value))
        except ValueError:
            return "0"

    @staticmethod
    def integer(value):
        if value in ("true", "false"):
            return "1" if value == "true" else "0"
        try:
            return str(int(float(value)))
        except ValueError:
            return "0"

    def fill_struct(self, ctype, expr, children, parent, indent):
        members = self.h.structs[ctype]
        names = {m.name for m in members}
        counts = {m.name for m in members if m.name.endswith("_count") and m.name[: -len("_count")] in names}
        counts |= flags_of(members)
        single = len(members) - len(counts) == 1
        value = [c for c in children if c["n"] == "_value"]
        matched = {m.name: Matcher.candidates(m, children) for m in members}
        Matcher.twins(members, names, matched)
        for m in members:
            if m.name in counts:
                continue
            if m.name == "dummy" and len(members) == 1:
                continue  # the stand-in member of a structure the generator left empty
            found = matched[m.name]
            if not found and m.name.startswith("__") and any(c.get("any") for c in children):
                found = [{"n": m.name, "c": children}]  # an xsd:any holds the wildcard content
            if not found and value and not self.is_struct(m.ctype):
                # A simple content's text goes to the first leaf that no attribute took.
                found, value = value, []
            elif not found and single and parent is not None and "c" in parent:
                # A structure of one member that stands for the node itself (arrays, wrappers).
                text = m.dims or "".join(m.ctype.split()) == "char*"  # a text, fixed or allocated
                found = [parent] if text else parent.get("c", [])
            if not found:
                continue
            before = len(self.lines)
            if all(n.get("nil") for n in found) and m.name + "_nil" in names:
                # A nil element: its flag says so, the value stays empty.
                from samples import NIL
                self.lines.append("%s%s.%s_nil = 1;" % (indent, expr, m.name))
                self.assigned.append(NIL)
            else:
                self.fill(m, "%s.%s" % (expr, m.name), found, indent)
            if m.name + "_present" in names and len(self.lines) > before:
                self.lines.append("%s%s.%s_present = 1;" % (indent, expr, m.name))
            count_name = m.name + "_count"
            for i in range(before, len(self.lines)):
                line = self.lines[i]
                if "/*count*/ COUNT_%s" % m.name in line:
                    if count_name in counts:
                        self.lines[i] = line.replace("/*count*/ COUNT_%s" % m.name, "%s.%s" % (expr, count_name))
                    else:
                        self.lines[i] = ""

    def dump(self, member, expr, indent="\t", depth=0):
        base = member.ctype
        string = base in ("char", "unsigned char") and len(member.dims) >= 1
        array_dims = member.dims[:-1] if string else member.dims
        if depth > 12:
            return  # types that hold each other (by pointer or array): samples go no deeper
        if base.endswith("*") and self.is_struct(base[:-1].strip()):
            self.lines.append("%sif(%s != NULL){" % (indent, expr))
            self.dump(Member(base[:-1].strip(), member.name, []), "(*%s)" % expr, indent + "\t", depth + 2)
            self.lines.append("%s}" % indent)
            return
        if array_dims:
            if array_dims[0] == "*":
                limit = "(%s == NULL ? 0 : 0x7fffffff)" % expr
            else:
                limit = "(int)(sizeof(%s)/sizeof(%s[0]))" % (expr, expr)
            self.lines.append("%s{ int i_%d; for(i_%d = 0; i_%d < %s && i_%d < LIMIT_%s; i_%d++){" % (
                indent, len(indent), len(indent), len(indent), limit, len(indent), member.name, len(indent)))
            self.dump(Member(base, member.name, member.dims[len(array_dims):]), "%s[i_%d]" % (expr, len(indent)),
                      indent + "\t", depth + 2)
            self.lines.append("%s}}" % indent)
            return
        if self.is_struct(base):
            members = self.h.structs[base]
            names = {m.name for m in members}
            flags = flags_of(members)
            for m in members:
                if m.name in flags and m.name.endswith("_nil") and m.ctype == "int" and not m.dims:
                    self.lines.append('%sif(%s.%s) dump_text("%s", "xsi:nil", 8);' % (indent, expr, m.name, m.name))
                    continue
                if m.name.endswith("_count") and m.name[: -len("_count")] in names or m.name in flags:
                    continue
                before = len(self.lines)
                self.dump(m, "%s.%s" % (expr, m.name), indent, depth)
                limit = "%s.%s_count" % (expr, m.name) if m.name + "_count" in names else "0x7fffffff"
                for i in range(before, len(self.lines)):
                    self.lines[i] = self.lines[i].replace("LIMIT_%s;" % m.name, "%s;" % limit)
            return
        if string:
            self.lines.append('%sdump_text("%s", (const char *)%s, sizeof(%s));' % (indent, member.name, expr, expr))
        elif base.endswith("*"):
            self.lines.append('%sif(%s) dump_text("%s", (const char *)%s, 1u<<20);' % (indent, expr, member.name, expr))
        elif base in SCALARS_FLOAT:
            self.lines.append('%sdump_real("%s", (double)%s);' % (indent, member.name, expr))
        else:
            self.lines.append('%sdump_integer("%s", (long long)%s);' % (indent, member.name, expr))


PROLOGUE = r"""
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "%(prefix)s_api.h"
#include "tessaro_socket.h"

static int first_value;
/* Set for the call that sends an enumerated value its enumeration does not list. */
static int unlisted;
/* Why the last send failed, from the packet that did not go. */
static char send_error[1024];

static const char *enumerated(const char *value)
{
	return unlisted ? "%(unlisted)s" : value;
}

static void dump_raw(const char *text, size_t size)
{
	size_t i;
	for(i = 0; i < size && text[i] != '\0'; i++){
		unsigned char c = (unsigned char)text[i];
		if(c == '"' || c == '\\') printf("\\%%c", c);
		else if(c < 0x20) printf("\\u%%04x", c);
		else putchar(c);
	}
}

static void dump_name(const char *name)
{
	printf("%%s[\"", first_value ? "" : ",");
	first_value = 0;
	dump_raw(name, strlen(name));
	printf("\",\"");
}

static void dump_text(const char *name, const char *value, size_t size)
{
	if(value[0] == '\0') return;
	dump_name(name);
	dump_raw(value, size);
	printf("\"]");
}

static void dump_integer(const char *name, long long value)
{
	if(value == 0) return;
	dump_name(name);
	printf("%%lld\"]", value);
}

static void dump_real(const char *name, double value)
{
	if(value == 0) return;
	dump_name(name);
	printf("%%.9g\"]", value);
}

static void dump_packet(%(prefix)s_proto_packet_t *pk);
static int fill_packet(%(prefix)s_proto_packet_t *pk, unsigned int type, int direction);

static void print_result(const char *op, const char *side, int send_rc, int read_rc, %(prefix)s_proto_packet_t *pk, unsigned int expected)
{
	printf("{\"op\":\"%%s\",\"side\":\"%%s\",\"send\":%%d,\"read\":%%d,\"type\":%%u,\"expected\":%%u,\"values\":[", op, side, send_rc, read_rc, pk->msg_type, expected);
	first_value = 1;
	if(read_rc == 0 && pk->msg_type == %(upper)s_PROTO_SOAP_FAULT){
		dump_text("faultcode", pk->msg.soap_fault.faultcode, sizeof(pk->msg.soap_fault.faultcode));
		dump_text("faultstring", pk->msg.soap_fault.faultstring, sizeof(pk->msg.soap_fault.faultstring));
		if(pk->msg.soap_fault.detail != NULL)
			dump_text("detail", pk->msg.soap_fault.detail, strlen(pk->msg.soap_fault.detail) + 1);
	}else if(read_rc == 0 && pk->msg_type == %(upper)s_PROTO_HTTP){
		dump_integer("http", pk->msg.http_msg.err_code);
		dump_text("http_text", pk->msg.http_msg.err_code_string, sizeof(pk->msg.http_msg.err_code_string));
	}else if(read_rc == 0){
		dump_packet(pk);
	}
	/* Why reading failed, or what it noted without failing (an unlisted enumerated value). */
	printf("],\"error\":\"");
	dump_raw(pk->decode_error, sizeof(pk->decode_error));
	printf("\",\"send_error\":\"");
	dump_raw(send_error, sizeof(send_error));
	printf("\"}\n");
	fflush(stdout);
}
"""

CLIENT = r"""
static int call(const char *op, const char *side, unsigned int request, unsigned int response, int port, const char *path)
{
	%(prefix)s_proto_trans_t trans;
	static %(prefix)s_proto_packet_t pk;
	int send_rc, read_rc = -99;

	memset(&trans, 0, sizeof(trans));
	memset(&pk, 0, sizeof(pk));
	fill_packet(&pk, request, %(upper)s_DIRECTION_REQUEST);
	pk.soap_version = %(version)d;
	if(%(prefix)s_connect_server(&trans, "127.0.0.1", (char *)path, (tessaro_port_t)port) != 0){
		printf("{\"op\":\"%%s\",\"side\":\"%%s\",\"connect\":-1}\n", op, side);
		fflush(stdout);
		return -1;
	}
	send_rc = %(prefix)s_proto_sendpacket(&trans, &pk, 10);
	snprintf(send_error, sizeof(send_error), "%%s", send_rc == 0 ? "" : pk.decode_error);
	%(prefix)s_free_proto_packet(&pk);
	memset(&pk, 0, sizeof(pk));
	if(send_rc == 0)
		read_rc = %(prefix)s_proto_readpacket(&trans, &pk, 10);
	print_result(op, side, send_rc, read_rc, &pk, response);
	%(prefix)s_free_proto_packet(&pk);
	tessaro_socket_close(trans.socket);
	return 0;
}

int main(int argc, char **argv)
{
	int port, i;
	if(argc < 3){
		fprintf(stderr, "usage: client PORT PATH [OPERATION...]\n");
		return 2;
	}
	port = atoi(argv[1]);
	for(i = 0; i < (int)(sizeof(operations)/sizeof(operations[0])); i++){
		int j, wanted = argc == 3;
		for(j = 3; j < argc; j++)
			wanted |= strcmp(argv[j], operations[i].name) == 0;
		if(!wanted)
			continue;
		call(operations[i].name, "client", operations[i].request, operations[i].response, port, argv[2]);
		/* The server answers the second call of an operation that declares faults with a fault. */
		if(operations[i].faults)
			call(operations[i].name, "client-fault", operations[i].request, operations[i].response, port, argv[2]);
		/* A request with an unlisted enumerated value is refused before it goes out. */
		if(operations[i].enumerated_request){
			unlisted = 1;
			call(operations[i].name, "client-invalid", operations[i].request, operations[i].response, port, argv[2]);
			unlisted = 0;
		}
		/* The server answers the second call of an operation with an enumerated response with an unlisted value. */
		if(operations[i].enumerated_response)
			call(operations[i].name, "client-unknown", operations[i].request, operations[i].response, port, argv[2]);
	}
	return 0;
}
"""

SERVER = r"""
#include <sys/socket.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

/* Serves one request per connection until stdin closes; listens on loopback only. */
int main(void)
{
	int listener = socket(AF_INET, SOCK_STREAM, 0);
	struct sockaddr_in addr;
	socklen_t size = sizeof(addr);
	int one = 1;
	static %(prefix)s_proto_packet_t pk;
	static int calls[sizeof(operations)/sizeof(operations[0])];

	memset(&addr, 0, sizeof(addr));
	addr.sin_family = AF_INET;
	addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
	if(listener < 0 || bind(listener, (struct sockaddr *)&addr, sizeof(addr)) != 0 || listen(listener, 16) != 0
	   || getsockname(listener, (struct sockaddr *)&addr, &size) != 0){
		perror("listen");
		return 1;
	}
	printf("{\"port\":%%d}\n", ntohs(addr.sin_port));
	fflush(stdout);
	for(;;){
		%(prefix)s_proto_trans_t trans;
		int read_rc, send_rc = -99, i, version, which = -1;
		const char *op = "?";
		unsigned int response = 0;
		int peer = accept(listener, NULL, NULL);
		if(peer < 0)
			continue;
		memset(&trans, 0, sizeof(trans));
		trans.socket = peer;
		snprintf(trans.dest_ip, sizeof(trans.dest_ip), "127.0.0.1");
		memset(&pk, 0, sizeof(pk));
		read_rc = %(prefix)s_proto_readpacket(&trans, &pk, 10);
		for(i = 0; i < (int)(sizeof(operations)/sizeof(operations[0])); i++){
			if(read_rc == 0 && pk.msg_type == operations[i].request){
				op = operations[i].name;
				response = operations[i].response;
				which = i;
			}
		}
		print_result(op, "server-request", 0, read_rc, &pk, 0);
		/* The answer goes in the version of the request. */
		version = pk.soap_version;
		%(prefix)s_free_proto_packet(&pk);
		if(which >= 0)
			calls[which]++;
		if(response != 0){
			memset(&pk, 0, sizeof(pk));
			/* The second call of an operation that declares faults is answered with a Client (SOAP 1.2: Sender) fault. */
			if(operations[which].faults && calls[which] %% 2 == 0){
				pk.msg_type = %(upper)s_PROTO_SOAP_FAULT;
				pk.msg_direction = %(upper)s_DIRECTION_RESPONSE;
				snprintf(pk.msg.soap_fault.faultcode, sizeof(pk.msg.soap_fault.faultcode), "SOAP-ENV:Client");
				snprintf(pk.msg.soap_fault.faultstring, sizeof(pk.msg.soap_fault.faultstring), "fault of %%s <&>", op);
				pk.msg.soap_fault.detail = strdup(operations[which].fault_detail);
			}else
				fill_packet(&pk, response, %(upper)s_DIRECTION_RESPONSE);
			pk.soap_version = version;
			/* One request per connection: the client must not send another on it. */
			%(prefix)s_add_http_header(&pk, "Connection", "close");
			send_rc = %(prefix)s_proto_sendpacket(&trans, &pk, 10);
			%(prefix)s_free_proto_packet(&pk);
		}
		printf("{\"op\":\"%%s\",\"side\":\"server-response\",\"send\":%%d}\n", op, send_rc);
		fflush(stdout);
		close(peer);
	}
	return 0;
}
"""


def wire_names(op, direction):
    """The name of the Body's child for one direction of an operation."""
    if op.style == "rpc":
        return op.name if direction == "input" else op.name + "Response"
    message, use = (op.input, op.in_use) if direction == "input" else (op.output, op.out_use)
    parts = op.body_parts(message, use)
    if not parts:
        return None
    return parts[0].element[1] if parts[0].element else parts[0].name


def write_driver(header, ops, samples_by_op, fault_details):
    """The C text shared by client and server: operation table, fill and dump functions.
    samples_by_op: name -> {"input": {...}, "output": {...}} sample trees; fault_details: name ->
    the markup of the detail the server's fault holds. Returns (text, notes)."""
    import samples
    w = Writer(header)
    notes = {}
    held = {}
    table = []
    fills = {}  # constant -> {direction: statements}: a message kind may go both ways
    for op in ops:
        req = header.constant_of(wire_names(op, "input")) or header.empty_body_constant(op, "input")
        resp = (header.constant_of(wire_names(op, "output")) or header.empty_body_constant(op, "output")
                if op.output is not None else None)
        table.append('\t{%s, %s, %s, %d, %s, %d, %d},' % (
            c_string(op.name), req or "0xffffffffu", resp or "0xffffffffu", 1 if op.faults else 0,
            c_string(fault_details.get(op.name, "")), samples.has_enumeration(samples_by_op[op.name]["input"]),
            samples.has_enumeration(samples_by_op[op.name]["output"])))
        for const, key in ((req, "input"), (resp, "output")):
            if const is None or const not in header.message_of:
                notes.setdefault(op.name, []).append("no message constant for the %s" % key)
                continue
            sample = samples_by_op[op.name][key]
            member = header.message_of[const]
            w.lines = []
            w.unmatched = []
            w.assigned = []
            body = sample["body"]
            # A header part may be held in the message's structure as well as in the packet.
            w.fill_struct(member.ctype, "pk->msg.%s" % member.name, body + sample["headers"], {"c": body}, "\t\t")
            for hm in header.packet_headers:
                found = Matcher.candidates(hm, sample["headers"])
                if found:
                    w.fill(hm, "pk->%s" % hm.name, found, "\t\t")
            fills.setdefault(const, {}).setdefault(key, "\n".join(l for l in w.lines if l))
            held[(op.name, key)] = list(w.assigned)
    dumps = []
    for const, member in header.message_of.items():
        w.lines = []
        w.dump(member, "pk->msg.%s" % member.name, "\t\t")
        dumps.append("\tcase %s:\n%s\n\t\tbreak;" % (const, "\n".join(w.lines)))
    w.lines = []
    for hm in header.packet_headers:
        w.dump(hm, "pk->%s" % hm.name, "\t")
    header_dump = "\n".join(w.lines)
    cases = []
    for const, ways in fills.items():
        text = "\tcase %s:\n" % const
        if len(ways) > 1:
            text += "\t\tif(direction == %s_DIRECTION_RESPONSE){\n%s\n\t\t\tbreak;\n\t\t}\n" % (
                header.upper, ways["output"].replace("\n\t\t", "\n\t\t\t").replace("\t\t", "\t\t\t", 1))
        cases.append(text + "%s\n\t\tbreak;" % ways.get("input", ways.get("output")))
    text = ["struct operation { const char *name; unsigned int request; unsigned int response; int faults;",
            "\tconst char *fault_detail; int enumerated_request; int enumerated_response; };",
            "static const struct operation operations[] = {", *table, "};",
            "static int fill_packet(%s_proto_packet_t *pk, unsigned int type, int direction)\n{" % header.prefix,
            "\tpk->msg_type = type;\n\tpk->msg_direction = direction;\n\tswitch(type){", *cases,
            "\t}\n\treturn 0;\n}",
            "static void dump_packet(%s_proto_packet_t *pk)\n{" % header.prefix,
            "\tswitch(pk->msg_type){", *dumps, "\t}", header_dump, "}"]
    body = re.sub(r"LIMIT_\w+", "0x7fffffff", "\n".join(text))
    # Anchored at line starts: a line of a huge text literal is scanned once, not once per character.
    body = re.sub(r"(?m)^[^\n]*/\*count\*/ COUNT_\w+ = \d+;", "", body)
    return body, notes, held


def sources(header, ops, samples_by_op, version=11, fault_details=None):
    """(client.c, server.c, notes, held): held maps (operation, "input" or "output") to the sample
    values that the generated structures have a member for. The client sends in SOAP version
    (11 or 12); the server answers in the version of each request."""
    import samples
    common, notes, held = write_driver(header, ops, samples_by_op, fault_details or {})
    names = {"prefix": header.prefix, "upper": header.upper, "version": version, "unlisted": samples.UNLISTED}
    prologue = PROLOGUE % names
    # The operation table must precede the programs' mains.
    return (prologue + common + CLIENT % names, prologue + common + SERVER % names, notes, held)


def parse_results(text):
    """The JSON lines a driver printed."""
    results = []
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("{"):
            try:
                results.append(json.loads(line))
            except ValueError:
                results.append({"garbled": line[:200]})
    return results
