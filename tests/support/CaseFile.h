#pragma once

// Test data kept beside the tests: whole fixture documents, and tables of
// cases that differ only in data. A case file holds sections ("[name]" on a
// line of its own) of rows; fields are separated by tabs and may use the
// escapes \t \n \r \\ \0 and \xHH. Lines starting with '#' are comments.
// A missing file or an empty section fails the test that asked for it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

// The bytes of tests/<relative>.
inline std::string fixture(const std::string& relative)
{
    std::ifstream in(std::string(KELVANE_SOURCE_DIR "/tests/") + relative, std::ios::binary);
    if (!in)
        ADD_FAILURE() << "no fixture tests/" << relative;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string unescapeField(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char code = text[++i];
        switch (code) {
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case '0': out += '\0'; break;
        case 'x':
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
            break;
        default: out += code; break;
        }
    }
    return out;
}

struct CaseRow {
    std::vector<std::string> fields;
    int line = 0; // in the case file, for messages

    const std::string& operator[](std::size_t index) const
    {
        static const std::string none;
        return index < fields.size() ? fields[index] : none;
    }
    int number(std::size_t index) const { return std::atoi((*this)[index].c_str()); }
    bool flag(std::size_t index) const { return (*this)[index] == "1"; }
};

// The rows of one section of tests/<relative>.
inline std::vector<CaseRow> caseTable(const std::string& relative, const std::string& section)
{
    std::vector<CaseRow> rows;
    std::string text = fixture(relative);
    bool inSection = false;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            inSection = line.substr(1, line.size() - 2) == section;
            continue;
        }
        if (!inSection)
            continue;
        CaseRow row;
        row.line = lineNumber;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            row.fields.push_back(unescapeField(line.substr(from, tab - from)));
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        rows.push_back(row);
    }
    if (rows.empty())
        ADD_FAILURE() << "no cases in section [" << section << "] of tests/" << relative;
    return rows;
}

} // namespace testsupport
