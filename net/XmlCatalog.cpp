#include "net/XmlCatalog.h"

#include "net/DocumentLocation.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

const char* const CatalogNamespace = "urn:oasis:names:tc:entity:xmlns:xml:catalog";
const char* const XmlNamespace = "http://www.w3.org/XML/1998/namespace";
// nextCatalog chains end here, whatever a catalog names.
const int MaxChain = 16;

// How an entry element maps: which attribute holds the address and which
// the replacement.
struct EntryKind {
    const char* element;
    const char* matchAttribute;
    const char* targetAttribute;
    int match; // 0 exact, 1 prefix, 2 suffix
};

const EntryKind EntryKinds[] = {
    {"uri", "name", "uri", 0},
    {"system", "systemId", "uri", 0},
    {"rewriteURI", "uriStartString", "rewritePrefix", 1},
    {"rewriteSystem", "systemIdStartString", "rewritePrefix", 1},
    {"uriSuffix", "uriSuffix", "uri", 2},
    {"systemSuffix", "systemIdSuffix", "uri", 2},
};

const EntryKind* entryKind(const std::string& element)
{
    for (const EntryKind& kind : EntryKinds) {
        if (element == kind.element)
            return &kind;
    }
    return nullptr;
}

// The base for relative addresses inside an element: its xml:base,
// resolved against the enclosing one, else the enclosing one.
std::string baseOf(const XmlPullParser& xml, const std::string& enclosing)
{
    const std::string& base = xml.getAttributeValue(XmlNamespace, "base");
    if (base.empty())
        return enclosing;
    const std::string resolved = resolveLocation(enclosing, base);
    return resolved.back() == '/' || resolved.back() == '\\' ? resolved : baseLocationOf(resolved);
}

std::string whyNotOpened(int cause)
{
    return cause == ENOENT || cause == ENOTDIR ? "file not found" : std::strerror(cause);
}

}  // namespace

std::vector<std::string> XmlCatalog::environmentFiles()
{
    std::vector<std::string> files;
    const char* value = std::getenv("XML_CATALOG_FILES");
    std::istringstream words(value != nullptr ? value : "");
    for (std::string file; words >> file;)
        files.push_back(file);
    return files;
}

XmlCatalog XmlCatalog::standard(const std::vector<std::string>& userFiles, const std::string& schemaFolder,
                                std::vector<std::string>& warnings)
{
    XmlCatalog catalog;
    for (const std::string& file : userFiles)
        catalog.add(file);
    std::vector<std::string> others = environmentFiles();
    const std::string builtIn = schemaFolder + "catalog.xml";
    if (std::ifstream(builtIn).good())
        others.push_back(builtIn);
    for (const std::string& file : others) {
        try {
            catalog.add(file);
        } catch (const LoadError& failure) {
            warnings.push_back(failure.what());
        }
    }
    return catalog;
}

void XmlCatalog::add(const std::string& file)
{
    std::set<std::string> loading;
    roots_.push_back(load(file, loading));
}

std::size_t XmlCatalog::load(const std::string& file, std::set<std::string>& loading)
{
    const std::string path = localPathOf(file);
    errno = 0;
    std::ifstream input(path, std::ios::binary);
    if (!input)
        throw LoadError(file + ": " + whyNotOpened(errno));
    loading.insert(path);
    const std::size_t index = files_.size();
    files_.emplace_back();
    std::vector<std::string> bases{baseLocationOf(path)};
    std::vector<std::string> next;
    try {
        XmlPullParser xml(input);
        xml.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        for (int event = xml.next(); event != XmlPullParser::END_DOCUMENT; event = xml.next()) {
            if (event == XmlPullParser::END_TAG) {
                bases.pop_back();
                continue;
            }
            if (event != XmlPullParser::START_TAG)
                continue;
            const std::string base = baseOf(xml, bases.back());
            bases.push_back(base);
            if (xml.getNamespace() != CatalogNamespace)
                continue;
            if (xml.getName() == "nextCatalog") {
                const std::string& catalog = xml.getAttributeValue("", "catalog");
                if (!catalog.empty())
                    next.push_back(resolveLocation(base, catalog));
                continue;
            }
            const EntryKind* kind = entryKind(xml.getName());
            if (kind == nullptr)
                continue;
            const std::string& text = xml.getAttributeValue("", kind->matchAttribute);
            const std::string& target = xml.getAttributeValue("", kind->targetAttribute);
            if (!text.empty() && !target.empty())
                files_[index].entries.push_back(
                    Entry{static_cast<Match>(kind->match), text, resolveLocation(base, target)});
        }
    } catch (const XmlPullParserException& failure) {
        throw LoadError(file + ":" + std::to_string(failure.line) + ":" + std::to_string(failure.column) + ": " +
                        failure.description);
    }
    for (const std::string& catalog : next) {
        // A catalog that names one being read would go round.
        if (loading.count(localPathOf(catalog)) == 0 && loading.size() < MaxChain) {
            const std::size_t loaded = load(catalog, loading);
            files_[index].next.push_back(loaded);
        }
    }
    return index;
}

std::string XmlCatalog::resolve(const std::string& location) const
{
    for (std::size_t root : roots_) {
        const std::string found = resolveIn(root, location, 0);
        if (!found.empty())
            return found;
    }
    return std::string();
}

// An exact entry wins; else the longest start that a rewrite replaces; else
// the longest end; else the catalogs this one names next.
std::string XmlCatalog::resolveIn(std::size_t file, const std::string& location, int depth) const
{
    const Entry* prefix = nullptr;
    const Entry* suffix = nullptr;
    for (const Entry& entry : files_[file].entries) {
        if (entry.match == Match::Exact && entry.text == location)
            return entry.target;
        if (entry.match == Match::Prefix && location.compare(0, entry.text.size(), entry.text) == 0
            && (prefix == nullptr || entry.text.size() > prefix->text.size()))
            prefix = &entry;
        if (entry.match == Match::Suffix && location.size() >= entry.text.size()
            && location.compare(location.size() - entry.text.size(), entry.text.size(), entry.text) == 0
            && (suffix == nullptr || entry.text.size() > suffix->text.size()))
            suffix = &entry;
    }
    if (prefix != nullptr)
        return prefix->target + location.substr(prefix->text.size());
    if (suffix != nullptr)
        return suffix->target;
    for (std::size_t next : files_[file].next) {
        const std::string found = depth < MaxChain ? resolveIn(next, location, depth + 1) : std::string();
        if (!found.empty())
            return found;
    }
    return std::string();
}
