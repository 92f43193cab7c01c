#include "toolkit/syntaxedit/lexer/SyntaxEditIniFile.h"

#include <vector>

namespace {

const DWORD kFirstBufferSize = 1024;
// A section is never larger than this; a file that claims more is read no further.
const DWORD kMaxBufferSize = 64 * 1024 * 1024;

}  // namespace

template <class READ>
void CKLVSyntaxEditIniFile::ReadList(READ read, CStringArray& arStrings) {
    std::vector<char> buffer(kFirstBufferSize);
    DWORD dwLength = 0;
    for (;;) {
        dwLength = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        // The length falls two short of the size when the list was cut.
        if (dwLength != buffer.size() - 2 || buffer.size() >= kMaxBufferSize) break;
        buffer.assign(buffer.size() * 2, 0);
    }
    for (DWORD i = 0; i < dwLength;) {
        const char* p = buffer.data() + i;
        const DWORD n = static_cast<DWORD>(strnlen(p, dwLength - i));
        if (n) arStrings.Add(CString(p, static_cast<int>(n)));
        i += n + 1;
    }
}

void CKLVSyntaxEditIniFile::ReadSection(LPCSTR lpszPath, LPCSTR lpszSection, std::vector<CLine>& arLines) {
    CStringArray arStrings;
    ReadList([&](char* p, DWORD n) { return ::GetPrivateProfileSectionA(lpszSection, p, n, lpszPath); }, arStrings);
    for (INT_PTR i = 0; i < arStrings.GetSize(); ++i) arLines.push_back(ParseLine(arStrings[i]));
}

void CKLVSyntaxEditIniFile::ReadSectionNames(LPCSTR lpszPath, CStringArray& arNames) {
    ReadList([&](char* p, DWORD n) { return ::GetPrivateProfileSectionNamesA(p, n, lpszPath); }, arNames);
}

CKLVSyntaxEditIniFile::CLine CKLVSyntaxEditIniFile::ParseLine(LPCSTR lpszLine) {
    CLine line;
    const CString strLine = lpszLine;
    const int nEq = strLine.Find('=');
    if (nEq < 0) {
        line.strKey = strLine;
        line.strKey.Trim();
        return line;
    }
    line.strKey = strLine.Left(nEq);
    const int nEq2 = strLine.Find('=', nEq + 1);
    line.strValue = nEq2 < 0 ? strLine.Mid(nEq + 1) : strLine.Mid(nEq + 1, nEq2 - nEq - 1);
    const int nSemicolon = line.strValue.Find(';');
    if (nSemicolon >= 0) {
        line.strComment = line.strValue.Mid(nSemicolon + 1);
        line.strValue = line.strValue.Left(nSemicolon);
    }
    line.strKey.Trim();
    line.strValue.Trim();
    line.strComment.Trim();
    return line;
}

CString CKLVSyntaxEditIniFile::GetFolder(LPCSTR lpszPath) {
    const CString strPath = lpszPath;
    const int nSlash = strPath.ReverseFind('\\');
    return nSlash > 0 ? strPath.Left(nSlash + 1) : CString();
}
