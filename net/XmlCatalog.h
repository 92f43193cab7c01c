#ifndef KELVANE_NET_XMLCATALOG_H
#define KELVANE_NET_XMLCATALOG_H

#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// OASIS XML catalogs, the files libxml2 and xmllint read, as far as they map
// the address of a document to another one (most often a local copy):
// uri and system entries, rewriteURI and rewriteSystem, uriSuffix and
// systemSuffix, group, xml:base and nextCatalog. Public identifiers and
// delegation name no document kvgen fetches and are passed over. Catalogs
// are consulted in the order they were added; the first that maps the
// address wins.
class XmlCatalog {
public:
    // A catalog file that cannot be read or is no well-formed XML.
    class LoadError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // The catalog files of the environment variable XML_CATALOG_FILES
    // (separated by blanks, as libxml2 reads it), in order.
    static std::vector<std::string> environmentFiles();

    // The catalogs in the order the programs consult them: the user's
    // files, then those of XML_CATALOG_FILES, then the catalog.xml of the
    // built-in schemas' folder (ending in a separator) when it holds one. A
    // user's file that cannot be read throws LoadError; for the others a
    // line goes to warnings and they are left out.
    static XmlCatalog standard(const std::vector<std::string>& userFiles, const std::string& schemaFolder,
                               std::vector<std::string>& warnings);

    // Reads the catalog file (a path or a "file:" URI) and the catalogs its
    // nextCatalog entries name; throws LoadError naming the file and the
    // cause ("x.xml: file not found", "x.xml:3:7: Xml Parser Exception : ...").
    void add(const std::string& file);

    // The address the catalogs give for location, or empty when none maps it.
    std::string resolve(const std::string& location) const;

    bool empty() const { return files_.empty(); }

private:
    enum class Match { Exact, Prefix, Suffix };
    struct Entry {
        Match match;
        std::string text;   // the address, its start or its end
        std::string target; // absolute, or (for rewrites) the prefix that replaces text
    };
    struct File {
        std::vector<Entry> entries;
        std::vector<std::size_t> next; // indexes of the nextCatalog files
    };

    std::size_t load(const std::string& file, std::set<std::string>& loading);
    std::string resolveIn(std::size_t file, const std::string& location, int depth) const;

    std::vector<File> files_;
    std::vector<std::size_t> roots_; // files added directly, in order
};

#endif
