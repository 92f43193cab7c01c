// The protocol editor's records: a protocol with its settings, its header fields and its
// packets, each packet with its fields. The text fields are fixed arrays; a copy into one is
// bounded and refuses a text that does not fit.
#pragma once

#include "classlib/ClassLib.h"

#include <cstring>
#include <vector>

// One field of a packet or of the protocol's header.
struct CFieldRecord {
    enum { unitByte = 0, unitBit = 1, unitTLV = 2 };
    enum { attrFixLength = 0, attrVariantLength = 1 };
    char szName[256] = "";
    char szMaxLength[50] = "";
    char szMaxCount[30] = "";
    int nUnit = unitByte;
    char szDataType[50] = "";
    char szTag[256] = "";
    int nType = 0;   // 0 normal data, 1 header length, 2 body length, 3 total length, 4 packet type
    char szReinterpretName[256] = "";
    char szRelatedCount[256] = "";
    int nAttribute = attrFixLength;
    int nVariant = 0;   // 0 separated by binary 0, 1 a related field, 2 a related field and a binary 0
    char szRelatedLength[256] = "";
};

struct CPacketRecord {
    char szName[256] = "";
    char szType[256] = "";   // "0x" and one to eight hexadecimal digits
    std::vector<CFieldRecord> fields;
};

struct CProtocolRecord {
    char szName[256] = "";
    int nTargetPlatform = 0;   // 0 Windows, 1 Unix(Linux)
    int nBasedProtocol = 0;    // 0 TCP, 1 UDP
    int nLibraryType = 0;      // 0 dll library, 1 static library
    std::vector<CFieldRecord> headerFields;
    std::vector<CPacketRecord> packets;
    CString strLocation;
};

// Copies the text with its NUL into the field; a text too long for it leaves the field as it
// was and gives false.
template <size_t N>
bool CopyRecordText(char (&szField)[N], const char* pszText) {
    const size_t nLength = pszText ? std::strlen(pszText) : 0;
    if (nLength >= N) return false;
    std::memcpy(szField, pszText ? pszText : "", nLength + 1);
    return true;
}
