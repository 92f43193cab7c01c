// The main road, document to generated files, against a peer in the same
// run: kvgen (read the WSDL document with its schemas, write the header, the
// source, the demo and the Makefile) and the peer xmllint (libxml2, the
// library the generated code decodes with, parsing the same document), each
// as a child process of its own. Each time is the best of several rounds that
// alternate between the two; each peak is the child's largest resident set.
// The last line holds the ratios of ours to the peer over both documents.
#include "ChildRun.h"

int main()
{
    return compareKvgenWithPeer("xmllint", " (is libxml2-utils installed?)",
                                [](const std::string& path, const std::filesystem::path&) {
                                    return std::vector<std::string>{"xmllint", "--noout", path};
                                });
}
