// Writing edited blocks back into their schema file: lines nobody changed keep their text,
// changed values are put in place, and the file is replaced only by a complete new one.
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"
#include "toolkit/syntaxedit/text/SyntaxEditFileReplacer.h"

#include <vector>

namespace {

const char kLineEnd[] = "\r\n";

CString JoinedKey(const CKLVSyntaxEditLexClassProperty& prop) {
    return CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":");
}

CString NewPropertyLine(const CKLVSyntaxEditLexClassProperty& prop) {
    return "\t" + JoinedKey(prop) + " = " + CKLVSyntaxEditSchemaFileStore::JoinValues(prop.m_arValues, ", ") + kLineEnd;
}

// The new text of the file, built line by line.
class CSchemaRewrite {
public:
    CSchemaRewrite(const CStringArray& arLines, const CKLVSyntaxEditLexClassInfoArray& edited)
        : m_arLines(arLines), m_edited(edited), m_arBlockWritten(edited.size(), false) {
        for (const CKLVSyntaxEditLexClassInfo& info : edited) m_arPropWritten.emplace_back(info.m_arProperties.size(), false);
    }

    CString Build(const CKLVSyntaxEditLexClassInfoArray& file) {
        for (const CKLVSyntaxEditLexClassInfo& block : file) WriteBlock(block);
        CopyLinesUpTo(static_cast<int>(m_arLines.GetSize()) - 1);
        for (size_t i = 0; i < m_edited.size(); ++i)
            if (!m_arBlockWritten[i]) AppendNewBlock(i);
        return m_strOut;
    }

private:
    void CopyLinesUpTo(int nLine) {
        for (int i = m_nLastWritten + 1; i <= nLine && i < m_arLines.GetSize(); ++i) m_strOut += m_arLines[i] + kLineEnd;
        m_nLastWritten = std::max(m_nLastWritten, nLine);
    }

    int FindEditedBlock(const CString& strName) const {
        for (size_t i = 0; i < m_edited.size(); ++i)
            if (m_edited[i].m_strName.CompareNoCase(strName) == 0) return static_cast<int>(i);
        return -1;
    }

    int FindEditedProperty(size_t nBlock, const CKLVSyntaxEditLexClassProperty& prop) const {
        const std::vector<CKLVSyntaxEditLexClassProperty>& arProps = m_edited[nBlock].m_arProperties;
        for (size_t i = 0; i < arProps.size(); ++i)
            if (!m_arPropWritten[nBlock][i] && arProps[i].m_arKeyParts.GetSize() == prop.m_arKeyParts.GetSize() &&
                JoinedKey(arProps[i]).CompareNoCase(JoinedKey(prop)) == 0)
                return static_cast<int>(i);
        return -1;
    }

    void WriteBlock(const CKLVSyntaxEditLexClassInfo& block) {
        const int nEdited = FindEditedBlock(block.m_strName);
        if (nEdited < 0) {
            // A block the edited set does not hold leaves the file.
            CopyLinesUpTo(block.m_nFirstLine - 1);
            m_nLastWritten = std::max(m_nLastWritten, block.m_nLastLine);
            return;
        }
        m_arBlockWritten[nEdited] = true;
        for (const CKLVSyntaxEditLexClassProperty& prop : block.m_arProperties) {
            CopyLinesUpTo(prop.m_nLine - 1);
            m_nLastWritten = std::max(m_nLastWritten, prop.m_nLine);
            const int nProp = FindEditedProperty(nEdited, prop);
            if (nProp < 0) continue;   // a property that is no longer there
            m_arPropWritten[nEdited][nProp] = true;
            RewriteLine(prop, m_edited[nEdited].m_arProperties[nProp]);
        }
        const std::vector<CKLVSyntaxEditLexClassProperty>& arProps = m_edited[nEdited].m_arProperties;
        for (size_t i = 0; i < arProps.size(); ++i)
            if (!m_arPropWritten[nEdited][i]) {
                m_arPropWritten[nEdited][i] = true;
                m_strOut += NewPropertyLine(arProps[i]);
            }
    }

    // The edited values in place of the old ones; the key, the text before the values and
    // a trailing comment stay.
    void RewriteLine(const CKLVSyntaxEditLexClassProperty& fileProp, const CKLVSyntaxEditLexClassProperty& edited) {
        const int nLine = fileProp.m_nLine;
        const int nEq = nLine > 0 && nLine < m_arLines.GetSize() ? m_arLines[nLine].Find('=') : -1;
        if (nEq <= 0) {
            m_strOut += NewPropertyLine(edited);
            return;
        }
        const CString& strLine = m_arLines[nLine];
        int nValue = nEq + 1;
        while (nValue < strLine.GetLength() && (strLine[nValue] == ' ' || strLine[nValue] == '\t')) ++nValue;
        m_strOut += strLine.Left(nValue) + CKLVSyntaxEditSchemaFileStore::JoinValues(edited.m_arValues, ", ") +
                    strLine.Mid(nValue + fileProp.m_nValueLength) + kLineEnd;
    }

    void AppendNewBlock(size_t nBlock) {
        const CKLVSyntaxEditLexClassInfo& block = m_edited[nBlock];
        m_strOut += CString(kLineEnd) + "lexClass:" + kLineEnd;
        // Without its name line the block would not be read back.
        m_strOut += "\tname = " + block.m_strName + kLineEnd;
        for (const CKLVSyntaxEditLexClassProperty& prop : block.m_arProperties) m_strOut += NewPropertyLine(prop);
        m_strOut += CString("//:lexClass") + kLineEnd;
    }

    const CStringArray& m_arLines;
    const CKLVSyntaxEditLexClassInfoArray& m_edited;
    std::vector<bool> m_arBlockWritten;
    std::vector<std::vector<bool>> m_arPropWritten;
    int m_nLastWritten = 0;
    CString m_strOut;
};

// Writes the text to a new file beside the target and moves it over the target; every step is
// checked, and on any failure the target keeps its old text and no new file is left behind.
BOOL ReplaceFile(LPCSTR lpszPath, const CString& strText) {
    const CString strTemp = CString(lpszPath) + ".tmp";
    ::SetFileAttributesA(strTemp, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(strTemp);
    HANDLE hFile = ::CreateFileA(strTemp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return FALSE;
    DWORD dwWritten = 0;
    const DWORD dwLength = static_cast<DWORD>(strText.GetLength());
    BOOL bOk = ::WriteFile(hFile, strText.GetString(), dwLength, &dwWritten, nullptr) && dwWritten == dwLength;
    bOk = ::FlushFileBuffers(hFile) && bOk;
    bOk = ::CloseHandle(hFile) && bOk;
    if (bOk) {
        ::SetFileAttributesA(lpszPath, FILE_ATTRIBUTE_NORMAL);
        bOk = CKLVSyntaxEditFileReplacer().MoveOver(strTemp, lpszPath);
    }
    if (!bOk) ::DeleteFileA(strTemp);
    return bOk;
}

}  // namespace

BOOL CKLVSyntaxEditSchemaFileStore::WriteLexClassFile(LPCSTR lpszPath, const CKLVSyntaxEditLexClassInfoArray& edited) {
    if (!edited.m_bModified) return FALSE;
    CKLVCriticalSectionLock lock(&m_cs);
    m_arCurrent.clear();
    LoadSchemaFile(lpszPath, FALSE);
    CStringArray arLines;
    ReadLines(lpszPath, arLines);
    CSchemaRewrite rewrite(arLines, edited);
    if (!ReplaceFile(lpszPath, rewrite.Build(m_arCurrent))) return FALSE;
    m_arCurrent.clear();
    return TRUE;
}
