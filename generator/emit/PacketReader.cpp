#include "generator/emit/PacketReader.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/TextBuffer.h"

#include <string>

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// Byte-safe search and the header field look-up: header names compare
// without regard to case and only at the starts of the header block's
// lines, never in the start line or the body.
void writeHeaderHelpers(CTextBuffer& out)
{
    lines(out, {"//offset of the first CR LF in text[from..end), or end",
                "static size_t http_line_end(const char *text, size_t from, size_t end)", "{",
                "\tsize_t\ti;", "", "\tfor(i = from; i + 1 < end; i++){",
                "\t\tif(text[i] == '\\r' && text[i + 1] == '\\n')", "\t\t\treturn i;", "\t}", "\treturn end;", "}", "",
                "static int http_lower(int c)", "{", "\treturn c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;", "}", "",
                "//the value of the header field name in the header block text[0..end), blanks cut off;",
                "//NULL when the field is missing",
                "static const char *http_header_value(const char *text, size_t end, const char *name, size_t *value_len)",
                "{", "\tsize_t\tname_len = strlen(name);", "\tsize_t\tline = http_line_end(text, 0, end) + 2;",
                "\tsize_t\teol, i, v;", "", "\tfor(; line < end; line = eol + 2){",
                "\t\teol = http_line_end(text, line, end);", "\t\tif(eol - line <= name_len || text[line + name_len] != ':')",
                "\t\t\tcontinue;", "\t\tfor(i = 0; i < name_len && http_lower(text[line + i]) == http_lower(name[i]); i++)",
                "\t\t\t;", "\t\tif(i < name_len)", "\t\t\tcontinue;", "\t\tv = line + name_len + 1;",
                "\t\twhile(v < eol && (text[v] == ' ' || text[v] == '\\t'))", "\t\t\tv++;",
                "\t\twhile(eol > v && (text[eol - 1] == ' ' || text[eol - 1] == '\\t'))", "\t\t\teol--;",
                "\t\t*value_len = eol - v;", "\t\treturn text + v;", "\t}", "\treturn NULL;", "}", "",
                "//a Transfer-Encoding value that names the chunked coding",
                "static int http_is_chunked(const char *value, size_t len)", "{", "\tsize_t\ti, j;", "",
                "\tfor(i = 0; i + 7 <= len; i++){", "\t\tfor(j = 0; j < 7 && http_lower(value[i + j]) == \"chunked\"[j]; j++)",
                "\t\t\t;", "\t\tif(j == 7)", "\t\t\treturn 1;", "\t}", "\treturn 0;", "}", "",
                "//a number of digits in base 10 or 16; -1 for none, an overflow or other text before stop characters",
                "static int http_parse_size(const char *text, size_t len, int base, const char *stops, size_t *value)",
                "{", "\tsize_t\ti, digit;", "", "\t*value = 0;", "\tfor(i = 0; i < len; i++){",
                "\t\tint c = http_lower(text[i]);", "\t\tif(c >= '0' && c <= '9')", "\t\t\tdigit = c - '0';",
                "\t\telse if(base == 16 && c >= 'a' && c <= 'f')", "\t\t\tdigit = c - 'a' + 10;", "\t\telse",
                "\t\t\tbreak;", "\t\tif(*value > ((size_t)-1 - digit) / base)", "\t\t\treturn -1;",
                "\t\t*value = *value * base + digit;", "\t}",
                "\tif(i == 0 || (i < len && (text[i] == '\\0' || strchr(stops, text[i]) == NULL)))", "\t\treturn -1;", "\treturn 0;", "}",
                ""});
}

// Receiving more: into the free room of buff behind what it holds, the
// room always leaving the byte of the terminating NUL, and at most want
// bytes. Messages follow each other on a connection and nothing keeps bytes
// between calls, so a read never takes more than the message still holds:
// up to a terminator, only as many bytes as it can still take to complete.
void writeReceiveMore(const CEmitContext& context, CTextBuffer& out)
{
    lines(out, {"//the fewest bytes that can complete the terminator, buff[0..have) perhaps ending in a part of it",
                "static size_t http_room_before(const char *buff, size_t have, const char *terminator)", "{",
                "\tsize_t\tn = strlen(terminator), m = n - 1;", "",
                "\twhile(m > 0 && (have < m || memcmp(buff + have - m, terminator, m) != 0))", "\t\tm--;",
                "\treturn n - m;", "}", ""});
    out.line("static int http_receive_more(" + context.proj() +
             "_proto_trans_t *trans, char *buff, size_t size, size_t *have, size_t want, int timeout)");
    lines(out, {"{", "\ttessaro_size_t\tlen;", "\tint\tresult;", "", "\tif(*have + 1 >= size)", "\t\treturn -1;",
                "\tlen = size - 1 - *have;", "\tif(len > want)", "\t\tlen = want;",
                "\tresult = tessaro_socket_recv(trans->socket, buff + *have, &len, timeout*TESSARO_USEC_PER_SEC);",
                "\tif(result != 0)", "\t\treturn result;", "\t*have += len;", "\tbuff[*have] = '\\0';", "\treturn 0;",
                "}", ""});
}

// The chunked body behind the header, de-chunked in place: the data of each
// chunk moves down over the size lines, which are always longer than the
// room they free.
void writeDechunk(const CEmitContext& context, CTextBuffer& out)
{
    out.line("static int http_dechunk(" + context.proj() +
             "_proto_trans_t *trans, char *buff, size_t size, size_t body, size_t *have, int timeout)");
    lines(out, {"{", "\tsize_t\tin = body, out = body, eol, chunk_size;", "\tint\tresult;", "", "\tfor(;;){",
                "\t\twhile((eol = http_line_end(buff, in, *have)) == *have){",
                "\t\t\tif((result = http_receive_more(trans, buff, size, have, http_room_before(buff, *have, \"\\r\\n\"), timeout)) != 0)",
                "\t\t\t\treturn result;",
                "\t\t}", "\t\tif(http_parse_size(buff + in, eol - in, 16, \"; \\t\", &chunk_size) != 0)",
                "\t\t\treturn -1;", "\t\tin = eol + 2;", "\t\tif(chunk_size == 0)", "\t\t\tbreak;",
                "\t\tif(chunk_size > size || in + chunk_size + 2 >= size)", "\t\t\treturn -1;",
                "\t\twhile(*have < in + chunk_size + 2){",
                "\t\t\tif((result = http_receive_more(trans, buff, size, have, in + chunk_size + 2 - *have, timeout)) != 0)",
                "\t\t\t\treturn result;",
                "\t\t}", "\t\tif(buff[in + chunk_size] != '\\r' || buff[in + chunk_size + 1] != '\\n')", "\t\t\treturn -1;",
                "\t\tmemmove(buff + out, buff + in, chunk_size);", "\t\tout += chunk_size;", "\t\tin += chunk_size + 2;",
                "\t}", "\t//trailer lines up to the empty line that ends the message", "\tfor(;;){",
                "\t\twhile((eol = http_line_end(buff, in, *have)) == *have){",
                "\t\t\tif((result = http_receive_more(trans, buff, size, have, http_room_before(buff, *have, \"\\r\\n\"), timeout)) != 0)",
                "\t\t\t\treturn result;",
                "\t\t}", "\t\tif(eol == in)", "\t\t\tbreak;", "\t\tin = eol + 2;", "\t}",
                "\tmemset(buff + out, 0, *have - out);", "\t*have = out;", "\treturn 0;", "}", ""});
}

void writeReadPacket(const CEmitContext& context, CTextBuffer& out)
{
    out.line("static int read_packet(" + context.proj() +
             "_proto_trans_t *trans, char *buff, int size, tessaro_size_t *length, int timeout)");
    lines(out, {"{", "\tint\tresult = 0;", "\tsize_t\thave = *length, room, body = 0, header_end, value_len, l_length;",
                "\tconst char\t*value;", "\ttessaro_size_t\tlen;", "",
                "\tif(size <= 0 || *length >= (tessaro_size_t)size)", "\t\treturn -1;", "\troom = (size_t)size;",
                "\ttessaro_socket_set_block(trans->socket, 0);", "", "\t//the header block, whatever the pieces it arrives in",
                "\tfor(;;){", "\t\tfor(header_end = body; header_end + 3 < have; header_end++){",
                "\t\t\tif(memcmp(buff + header_end, \"\\r\\n\\r\\n\", 4) == 0)", "\t\t\t\tbreak;", "\t\t}",
                "\t\tif(header_end + 3 < have)", "\t\t\tbreak;", "\t\tbody = header_end;",
                "\t\tresult = http_receive_more(trans, buff, room, &have, http_room_before(buff, have, \"\\r\\n\\r\\n\"), timeout);", "\t\t*length = have;",
                "\t\tif(result != 0)", "\t\t\treturn result;", "\t}", "\tbody = header_end + 4;", "",
                "\tif((value = http_header_value(buff, header_end + 2, \"Content-Length\", &value_len)) != NULL){",
                "\t\tif(http_parse_size(value, value_len, 10, \"\", &l_length) != 0 || l_length >= room - body)",
                "\t\t\treturn -1;", "\t\tif(have > body + l_length){", "\t\t\tmemset(buff + body + l_length, 0, have - body - l_length);",
                "\t\t\thave = body + l_length;", "\t\t}", "\t\tif(have < body + l_length){",
                "\t\t\tresult = tessaro_socket_recv_all(trans->socket, buff + have, body + l_length - have, &len, timeout*TESSARO_USEC_PER_SEC);",
                "\t\t\thave += len;", "\t\t}", "\t}else if((value = http_header_value(buff, header_end + 2, \"Transfer-Encoding\", &value_len)) != NULL &&",
                "\t\t\thttp_is_chunked(value, value_len)){", "\t\tresult = http_dechunk(trans, buff, room, body, &have, timeout);",
                "\t}else{", "\t\tresult = -1;", "\t}", "\tbuff[have] = '\\0';", "\t*length = have;", "\treturn result;", "}",
                ""});
}

} // namespace

void writeSourcePacketReader(const CEmitContext& context, CTextBuffer& source)
{
    writeHeaderHelpers(source);
    writeReceiveMore(context, source);
    writeDechunk(context, source);
    writeReadPacket(context, source);
}
