// C shaped like a generated "<name>_api.c" (structs, encoder functions with string literals,
// comments, preprocessor lines), CR LF rows, for the editor benchmarks.
#pragma once

#include <cstddef>
#include <string>

inline std::string MakeApiSource(size_t nBytes) {
    std::string text = "#include \"calc_api.h\"\r\n#include <string.h>\r\n\r\n";
    text.reserve(nBytes + 512);
    for (int i = 0; text.size() < nBytes; ++i) {
        const std::string n = std::to_string(i);
        text += "/* Encodes the request element Add" + n + " of the service. */\r\n"
                "static int encode_Add" + n + "(char* buf, size_t len, const struct Add" + n + "* p)\r\n{\r\n"
                "    int n = 0;\r\n    if (p == NULL) { return -1; }\r\n"
                "    n += snprintf(buf + n, len - n, \"<ns1:Add" + n + ">%d</ns1:Add" + n + ">\", p->a);\r\n"
                "    // the closing tag follows the value\r\n    n += 0x1F & 'x';\r\n    return n;\r\n}\r\n"
                "#define TAG_ADD" + n + " " + n + "\r\n\r\n";
    }
    return text;
}
