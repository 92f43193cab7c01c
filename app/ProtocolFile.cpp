#include "app/ProtocolFile.h"

#include "project/ConfigReader.h"
#include "project/ProjectFiles.h"
#include "project/SolutionFile.h"

#include <cerrno>
#include <type_traits>

namespace {

// Every value of a field record with its attribute name; one list for writing and reading.
template <class Field, class Visitor>
void VisitField(Field& field, Visitor&& visit) {
    visit("name", field.szName);
    visit("max_length", field.szMaxLength);
    visit("max_count", field.szMaxCount);
    visit("unit", field.nUnit);
    visit("data_type", field.szDataType);
    visit("tag", field.szTag);
    visit("type", field.nType);
    visit("reinterpret_name", field.szReinterpretName);
    visit("related_count", field.szRelatedCount);
    visit("attribute", field.nAttribute);
    visit("variant", field.nVariant);
    visit("related_length", field.szRelatedLength);
}

template <class Protocol, class Visitor>
void VisitProtocol(Protocol& protocol, Visitor&& visit) {
    visit("name", protocol.szName);
    visit("target_platform", protocol.nTargetPlatform);
    visit("based_protocol", protocol.nBasedProtocol);
    visit("library_type", protocol.nLibraryType);
}

template <class Packet, class Visitor>
void VisitPacket(Packet& packet, Visitor&& visit) {
    visit("name", packet.szName);
    visit("type", packet.szType);
}

// Writes an element's attributes; false once a value cannot be written.
class CElementWriter {
public:
    explicit CElementWriter(std::string& text) : m_text(text) {}
    template <class Value>
    void operator()(const char* lpszName, const Value& value) {
        m_text += std::string(" ") + lpszName + "=\"";
        if constexpr (std::is_same_v<Value, int>) m_text += std::to_string(value);
        else m_bWritten = appendAttributeValue(m_text, value) && m_bWritten;
        m_text += '"';
    }
    bool m_bWritten = true;

private:
    std::string& m_text;
};

// Reads an element's attributes into a record; the first failure's code stays.
class CElementReader {
public:
    explicit CElementReader(const xcfg_node* pNode) : m_pNode(pNode) {}
    template <class Value>
    void operator()(const char* lpszName, Value& value) {
        if (m_nResult != XCFG_OK) return;
        if constexpr (std::is_same_v<Value, int>) {
            m_nResult = xcfg_get_int(m_pNode, lpszName, value);
        } else {
            const std::string* pValue = nullptr;
            m_nResult = xcfg_find_attr(m_pNode, lpszName, pValue);
            if (m_nResult == XCFG_OK && !CopyRecordText(value, pValue->c_str())) m_nResult = EINVAL;
        }
    }
    int m_nResult = XCFG_OK;

private:
    const xcfg_node* m_pNode;
};

bool AppendFields(std::string& text, const char* lpszList, const std::vector<CFieldRecord>& fields) {
    bool bWritten = true;
    for (const CFieldRecord& field : fields) {
        text += std::string("<") + lpszList;
        CElementWriter writer(text);
        VisitField(field, writer);
        bWritten = bWritten && writer.m_bWritten;
        text += " />\r\n";
    }
    return bWritten;
}

int ReadFields(const xcfg_node* pParent, std::vector<CFieldRecord>& fields) {
    for (const xcfg_node* pNode = pParent->child; pNode; pNode = pNode->next) {
        if (pNode->name != "field") continue;
        CElementReader reader(pNode);
        VisitField(fields.emplace_back(), reader);
        if (reader.m_nResult != XCFG_OK) return reader.m_nResult;
    }
    return XCFG_OK;
}

int ReadProtocol(const xcfg_node* pNode, CProtocolRecord& protocol) {
    CElementReader reader(pNode);
    VisitProtocol(protocol, reader);
    int nResult = reader.m_nResult;
    for (const xcfg_node* pChild = pNode->child; nResult == XCFG_OK && pChild; pChild = pChild->next) {
        if (pChild->name == "header") {
            nResult = ReadFields(pChild, protocol.headerFields);
        } else if (pChild->name == "packet") {
            CPacketRecord& packet = protocol.packets.emplace_back();
            CElementReader packetReader(pChild);
            VisitPacket(packet, packetReader);
            nResult = packetReader.m_nResult;
            if (nResult == XCFG_OK) nResult = ReadFields(pChild, packet.fields);
        }
    }
    return nResult;
}

}  // namespace

std::string ProtocolFilePath(const CProjectRecord& project) {
    return joinProjectPath(project.location, project.name + ".protocols");
}

bool FormatProtocols(const CProtocolList& protocols, std::string& text) {
    text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<protocols>\r\n";
    bool bWritten = true;
    for (const auto& pProtocol : protocols) {
        text += "<protocol";
        CElementWriter writer(text);
        VisitProtocol(*pProtocol, writer);
        text += ">\r\n<header>\r\n";
        bWritten = writer.m_bWritten && AppendFields(text, "field", pProtocol->headerFields) && bWritten;
        text += "</header>\r\n";
        for (const CPacketRecord& packet : pProtocol->packets) {
            text += "<packet";
            CElementWriter packetWriter(text);
            VisitPacket(packet, packetWriter);
            text += ">\r\n";
            bWritten = packetWriter.m_bWritten && AppendFields(text, "field", packet.fields) && bWritten;
            text += "</packet>\r\n";
        }
        text += "</protocol>\r\n";
    }
    text += "</protocols>\r\n";
    return bWritten;
}

bool SaveProtocols(const std::string& path, const CProtocolList& protocols) {
    std::string text;
    return FormatProtocols(protocols, text) && writeDocumentFile(path, text);
}

int LoadProtocols(const std::string& path, const CString& strFolder, CProtocolList& protocols) {
    xcfg_doc doc;
    int nResult = xcfg_load(doc, path.c_str());
    if (nResult == XCFG_OK) nResult = xcfg_check_root(doc, "protocols");
    CProtocolList read;
    for (const xcfg_node* pNode = nResult == XCFG_OK ? doc.root->child : nullptr; pNode && nResult == XCFG_OK;
         pNode = pNode->next) {
        if (pNode->name != "protocol") continue;
        auto pProtocol = std::make_unique<CProtocolRecord>();
        nResult = ReadProtocol(pNode, *pProtocol);
        pProtocol->strLocation = strFolder;
        read.push_back(std::move(pProtocol));
    }
    if (nResult != XCFG_OK) return nResult;
    protocols = std::move(read);
    return XCFG_OK;
}
