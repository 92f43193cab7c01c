// Reading schema text: tokens, property lines and "lexClass:" blocks.
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

void CKLVSyntaxEditSchemaFileStore::SetText(LPCSTR lpszText) {
    m_strText = lpszText;
    // The last character of the text is read like every other.
    m_nEndPos = m_strText.GetLength();
    m_nPos = 0;
    m_nLine = 1;
    m_nLastLineFeed = -1;
    m_nLastValueEnd = 0;
    m_nState = klvTokenNone;
    m_nTokenStart = m_nTokenEnd = 0;
    m_nTokenLine = 1;
    m_strToken.Empty();
}

int CKLVSyntaxEditSchemaFileStore::Classify(char ch) {
    switch (ch) {
    case ' ':
    case '\t':
    case ',': return klvTokenSeparator;
    case '\'': return klvTokenQuoted;
    case '/': return klvTokenComment;
    case '\r':
    case '\n': return klvTokenLineEnd;
    case '=':
    case ':': return klvTokenAssignment;
    default: return ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) ? klvTokenWord : klvTokenOtherWord;
    }
}

BOOL CKLVSyntaxEditSchemaFileStore::KeepsState(int nState, char ch) {
    const int nClass = Classify(ch);
    switch (nState) {
    case klvTokenWord: return nClass == klvTokenWord || nClass == klvTokenOtherWord;
    case klvTokenOtherWord:
        return nClass != klvTokenSeparator && nClass != klvTokenLineEnd && nClass != klvTokenComment;
    case klvTokenComment: return nClass != klvTokenLineEnd;
    case klvTokenLineEnd: return nClass == klvTokenLineEnd;
    case klvTokenAssignment: return nClass == klvTokenAssignment;
    default: return FALSE;
    }
}

char CKLVSyntaxEditSchemaFileStore::ReadChar() {
    const char ch = m_strText[m_nPos];
    if (ch == '\n' && m_nPos > m_nLastLineFeed) {
        ++m_nLine;
        m_nLastLineFeed = m_nPos;
    }
    ++m_nPos;
    return ch;
}

void CKLVSyntaxEditSchemaFileStore::AppendToToken(char ch) {
    if (m_strToken.IsEmpty()) {
        m_nTokenStart = m_nPos - 1;
        m_nTokenLine = m_nLine;
    }
    m_strToken += ch;
    m_nTokenEnd = m_nPos;
}

BOOL CKLVSyntaxEditSchemaFileStore::ReadQuotedChar(char ch) {
    if (m_strToken.IsEmpty()) {
        AppendToToken(ch);   // the opening quote
        return FALSE;
    }
    if (ch == '\r' || ch == '\n') {
        m_nState = klvTokenLineEnd;
        return TRUE;
    }
    if (ch == '\'') {
        if (m_strToken == "'") return FALSE;   // a quote right after the opening one is dropped
        // A quote closes unless an odd number of backslashes stands before it, so that a
        // value ending in an escaped backslash ends where it should.
        int nBackslashes = 0;
        for (int i = m_strToken.GetLength() - 1; i >= 0 && m_strToken[i] == '\\'; --i) ++nBackslashes;
        if (nBackslashes % 2 == 0) {
            AppendToToken(ch);
            m_nState = klvTokenNone;
            return TRUE;
        }
    }
    AppendToToken(ch);
    return FALSE;
}

int CKLVSyntaxEditSchemaFileStore::ReadToken() {
    const int nOld = m_nState;
    BOOL bRead = FALSE;
    while (m_nPos < m_nEndPos) {
        const char ch = ReadChar();
        bRead = TRUE;
        if (m_nState == klvTokenQuoted) {
            if (ReadQuotedChar(ch)) return nOld;
            continue;
        }
        // A separator is its own token and never part of one.
        if (m_nState == klvTokenSeparator && Classify(ch) == klvTokenSeparator) return nOld;
        if (m_nState == klvTokenNone || m_nState == klvTokenSeparator || !KeepsState(m_nState, ch)) {
            --m_nPos;   // read again in the new state
            m_nState = Classify(ch);
            return nOld;
        }
        AppendToToken(ch);
    }
    return bRead ? nOld : klvTokenNone;
}

int CKLVSyntaxEditSchemaFileStore::ReadSignificantToken() {
    m_strToken.Empty();
    int nKind = ReadToken();
    while ((nKind == klvTokenNone || nKind == klvTokenSeparator || nKind == klvTokenComment || m_strToken == ":") &&
           !IsAtEnd()) {
        m_strToken.Empty();
        nKind = ReadToken();
    }
    // "lexClass" takes the colon that follows it directly (spelled exactly so).
    if (m_strToken == "lexClass") ReadToken();
    return nKind;
}

void CKLVSyntaxEditSchemaFileStore::ParseSchemaText(CKLVSyntaxEditLexClassInfoArray& arBlocks) {
    arBlocks.clear();
    SetText(CString(m_strText));
    int nKind = ReadSignificantToken();
    while (!IsBlockStart() && !IsAtEnd()) nKind = ReadSignificantToken();
    while (IsBlockStart()) {
        CKLVSyntaxEditLexClassInfo info;
        nKind = ReadBlock(info, nKind);
        if (!info.m_strName.IsEmpty()) arBlocks.push_back(std::move(info));
    }
}

int CKLVSyntaxEditSchemaFileStore::ReadBlock(CKLVSyntaxEditLexClassInfo& info, int nKind) {
    info.m_nFirstLine = m_nTokenLine;
    info.m_nLastLine = 0;
    nKind = IsAtEnd() ? klvTokenNone : ReadSignificantToken();
    for (;;) {
        if (!IsSignificant(nKind)) {
            if (nKind == klvTokenComment && m_strToken.CompareNoCase("//:lexClass") == 0) info.m_nLastLine = m_nTokenLine;
            m_strToken.Empty();
            break;
        }
        if (IsBlockStart()) break;
        if (nKind == klvTokenLineEnd) {
            nKind = IsAtEnd() ? klvTokenNone : ReadSignificantToken();
            continue;
        }
        nKind = ReadProperty(info, nKind);
    }
    if (info.m_nLastLine == 0)
        info.m_nLastLine = info.m_arProperties.empty() ? info.m_nFirstLine : info.m_arProperties.back().m_nLine;
    return nKind;
}

int CKLVSyntaxEditSchemaFileStore::ReadProperty(CKLVSyntaxEditLexClassInfo& info, int nKind) {
    CKLVSyntaxEditLexClassProperty prop;
    BOOL bNameLine = FALSE;
    // The key: every word up to "=", across line ends.
    while (IsSignificant(nKind) && m_strToken != "=" && !IsBlockStart()) {
        if (nKind != klvTokenLineEnd) {
            if (m_strToken.CompareNoCase("name") == 0)
                bNameLine = TRUE;
            else
                prop.m_arKeyParts.Add(m_strToken);
        }
        if (IsAtEnd()) return klvTokenNone;
        nKind = ReadSignificantToken();
    }
    if (!IsSignificant(nKind) || IsBlockStart()) return nKind;
    prop.m_nLine = m_nTokenLine;
    if (IsAtEnd()) return klvTokenNone;
    // The values: every token up to the line end.
    nKind = ReadSignificantToken();
    const int nValueStart = m_nTokenStart;
    int nValueEnd = nValueStart;
    while (IsSignificant(nKind) && nKind != klvTokenLineEnd) {
        if (bNameLine)
            info.m_strName = m_strToken;
        else
            prop.m_arValues.Add(UnescapeValue(m_strToken, TRUE));
        nValueEnd = m_nTokenEnd;
        if (IsAtEnd()) {
            nKind = klvTokenNone;
            break;
        }
        nKind = ReadSignificantToken();
    }
    if (!prop.m_arValues.IsEmpty()) {
        prop.m_nValueColumn = nValueStart - m_nLastValueEnd;
        prop.m_nValueLength = nValueEnd - nValueStart;
        m_nLastValueEnd = nValueEnd;
        info.m_arProperties.push_back(prop);
    }
    return nKind;
}
