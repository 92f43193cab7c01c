#include "app/ProtocolFile.h"

#include "project/ConfigReader.h"
#include "project/ProjectFiles.h"
#include "project/SolutionFile.h"

#include <cerrno>
#include <type_traits>

namespace {

// How each record is kept: its values as attributes, named in the order the values follow, then its
// lists of records as child elements (a list may sit in a wrapping element of its own). Writing and
// reading both walk this one description.
template <class Record, class Visitor>
void VisitRecord(Record& record, Visitor& visit) {
    using Kind = std::remove_const_t<Record>;
    if constexpr (std::is_same_v<Kind, CFieldRecord>) {
        visit.Values({"name", "max_length", "max_count", "unit", "data_type", "tag", "type", "reinterpret_name",
                      "related_count", "attribute", "variant", "related_length"},
                     record.szName, record.szMaxLength, record.szMaxCount, record.nUnit, record.szDataType,
                     record.szTag, record.nType, record.szReinterpretName, record.szRelatedCount,
                     record.nAttribute, record.nVariant, record.szRelatedLength);
    } else if constexpr (std::is_same_v<Kind, CPacketRecord>) {
        visit.Values({"name", "type"}, record.szName, record.szType);
        visit.List(nullptr, record.fields);
    } else {
        static_assert(std::is_same_v<Kind, CProtocolRecord>);
        visit.Values({"name", "target_platform", "based_protocol", "library_type"}, record.szName,
                     record.nTargetPlatform, record.nBasedProtocol, record.nLibraryType);
        visit.List("header", record.headerFields);
        visit.List(nullptr, record.packets);
    }
}

// Hands each value with its name to visit.Value, in order; a name for every value.
template <class Visitor, size_t N, class... Kept>
void VisitValues(Visitor& visit, const char* const (&names)[N], Kept&... values) {
    static_assert(N == sizeof...(Kept), "a name for every value");
    size_t nIndex = 0;
    (visit.Value(names[nIndex++], values), ...);
}

// The element a record is kept in.
template <class Record>
constexpr const char* ElementOf() {
    if constexpr (std::is_same_v<Record, CFieldRecord>) return "field";
    else if constexpr (std::is_same_v<Record, CPacketRecord>) return "packet";
    else return "protocol";
}

// A list holds its records in place, or (the protocols) each behind its own pointer.
template <class Item>
struct CHeld {
    using Record = Item;
    static const Record& Of(const Item& record) { return record; }
    static Record& Add(std::vector<Item>& records) { return records.emplace_back(); }
};

template <class Item>
struct CHeld<std::unique_ptr<Item>> {
    using Record = Item;
    static const Record& Of(const std::unique_ptr<Item>& pRecord) { return *pRecord; }
    static Record& Add(std::vector<std::unique_ptr<Item>>& records) {
        return *records.emplace_back(std::make_unique<Item>());
    }
};

// Writes records as elements: a record's values as attributes, its lists inside it (a record
// without lists closes itself); false once a value cannot be written.
class CElementWriter {
public:
    explicit CElementWriter(std::string& text) : m_text(text) {}

    template <class Records>
    void List(const char* lpszWrapper, const Records& records) {
        CloseStartTag();
        if (lpszWrapper) m_text += std::string("<") + lpszWrapper + ">\r\n";
        for (const auto& record : records) Write(CHeld<typename Records::value_type>::Of(record));
        if (lpszWrapper) m_text += std::string("</") + lpszWrapper + ">\r\n";
    }

    template <size_t N, class... Kept>
    void Values(const char* const (&names)[N], const Kept&... values) {
        VisitValues(*this, names, values...);
    }

    template <class Kept>
    void Value(const char* lpszName, const Kept& value) {
        m_text += std::string(" ") + lpszName + "=\"";
        if constexpr (std::is_same_v<Kept, int>) m_text += std::to_string(value);
        else m_bWritten = appendAttributeValue(m_text, value) && m_bWritten;
        m_text += '"';
    }

    bool m_bWritten = true;

private:
    template <class Record>
    void Write(const Record& record) {
        const char* lpszElement = ElementOf<Record>();
        m_text += std::string("<") + lpszElement;
        CElementWriter element(m_text);
        VisitRecord(record, element);
        m_bWritten = element.m_bWritten && m_bWritten;
        m_text += element.m_bStartTagOpen ? std::string(" />\r\n") : std::string("</") + lpszElement + ">\r\n";
    }

    void CloseStartTag() {
        if (m_bStartTagOpen) m_text += ">\r\n";
        m_bStartTagOpen = false;
    }

    std::string& m_text;
    bool m_bStartTagOpen = true;
};

// Reads an element's attributes and child elements into a record; the first failure's code stays.
class CElementReader {
public:
    explicit CElementReader(const xcfg_node* pNode) : m_pNode(pNode) {}

    template <class Records>
    void List(const char* lpszWrapper, Records& records) {
        for (const xcfg_node* pChild = m_pNode->child; pChild; pChild = pChild->next) {
            if (!lpszWrapper) {
                ReadInto(pChild, records);
            } else if (pChild->name == lpszWrapper) {
                for (const xcfg_node* pNode = pChild->child; pNode; pNode = pNode->next) ReadInto(pNode, records);
            }
        }
    }

    template <size_t N, class... Kept>
    void Values(const char* const (&names)[N], Kept&... values) {
        VisitValues(*this, names, values...);
    }

    template <class Kept>
    void Value(const char* lpszName, Kept& value) {
        if (m_nResult != XCFG_OK) return;
        if constexpr (std::is_same_v<Kept, int>) {
            m_nResult = xcfg_get_int(m_pNode, lpszName, value);
        } else {
            const std::string* pValue = nullptr;
            m_nResult = xcfg_find_attr(m_pNode, lpszName, pValue);
            if (m_nResult == XCFG_OK && !CopyRecordText(value, pValue->c_str())) m_nResult = EINVAL;
        }
    }

    int m_nResult = XCFG_OK;

private:
    // Reads the node into a new record of the list when it is that record's element.
    template <class Records>
    void ReadInto(const xcfg_node* pNode, Records& records) {
        using Held = CHeld<typename Records::value_type>;
        using Record = typename Held::Record;
        if (m_nResult != XCFG_OK || pNode->name != ElementOf<Record>()) return;
        CElementReader element(pNode);
        VisitRecord(Held::Add(records), element);
        m_nResult = element.m_nResult;
    }

    const xcfg_node* m_pNode;
};

}  // namespace

std::string ProtocolFilePath(const CProjectRecord& project) {
    return joinProjectPath(project.location, project.name + ".protocols");
}

bool FormatProtocols(const CProtocolList& protocols, std::string& text) {
    text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<protocols";
    CElementWriter writer(text);
    writer.List(nullptr, protocols);
    text += "</protocols>\r\n";
    return writer.m_bWritten;
}

bool SaveProtocols(const std::string& path, const CProtocolList& protocols) {
    std::string text;
    return FormatProtocols(protocols, text) && writeDocumentFile(path, text);
}

int LoadProtocols(const std::string& path, const CString& strFolder, CProtocolList& protocols) {
    xcfg_doc doc;
    int nResult = xcfg_load(doc, path.c_str());
    if (nResult == XCFG_OK) nResult = xcfg_check_root(doc, "protocols");
    if (nResult != XCFG_OK) return nResult;
    CProtocolList read;
    CElementReader reader(doc.root);
    reader.List(nullptr, read);
    if (reader.m_nResult != XCFG_OK) return reader.m_nResult;
    for (const auto& pProtocol : read) pProtocol->strLocation = strFolder;
    protocols = std::move(read);
    return XCFG_OK;
}
