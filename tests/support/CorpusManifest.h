#pragma once

// The corpus of real documents (read through the path CMake passes) and its
// tab-separated tables: MANIFEST.tsv, URLMAP.tsv, and our own summaries.

#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

inline const std::string CorpusFolder = KELVANE_CORPUS_DIR "/wsdl/";

// The rows of a tab-separated file after its heading line.
inline std::vector<std::vector<std::string>> readTsv(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        for (std::string::size_type start = 0;;) {
            const std::string::size_type tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        rows.push_back(fields);
    }
    return rows;
}

// A row of the corpus manifest: the document, what it imports, the notes.
struct ManifestEntry {
    std::string path;
    std::string imports;
    std::string notes;
    bool entryPoint() const { return notes.find("ENTRY POINT") != std::string::npos; }
};

inline std::vector<ManifestEntry> corpusManifest()
{
    std::vector<ManifestEntry> entries;
    for (const auto& row : readTsv(CorpusFolder + "MANIFEST.tsv")) {
        if (row.size() >= 9)
            entries.push_back({row[0], row[7], row[8]});
    }
    return entries;
}

} // namespace testsupport
