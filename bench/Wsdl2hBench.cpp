// kvgen's whole run (read the WSDL document with its schemas, generate, write
// the files) against the peer wsdl2h -c (another SOAP stack's WSDL-to-C
// translator, reading the same document and writing its C header), each as a
// child process of its own, on the two largest documents of the corpus. Each
// time is the best of several rounds that alternate between the two; each
// peak is the child's largest resident set. The last line holds the ratios of
// ours to the peer over both documents.
#include "ChildRun.h"

int main()
{
    // -c: C output; -o: the one header it writes.
    return compareKvgenWithPeer("wsdl2h", " (is the gsoap package installed?)",
                                [](const std::string& path, const std::filesystem::path& work) {
                                    return std::vector<std::string>{"wsdl2h", "-c", "-o", (work / "wsdl2h.h").string(),
                                                                    path};
                                });
}
