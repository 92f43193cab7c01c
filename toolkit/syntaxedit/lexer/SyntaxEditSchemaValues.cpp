// Values as a schema file writes them: backslash escapes, the enclosing quotes kept.
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

namespace {

const char kQuoteMarker = '\x01';
const char kBackslashMarker = '\x02';

struct EscapeSequence {
    char chCode;
    char ch;
};

const EscapeSequence kEscapes[] = {
    {'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'\'', '\''},
};

// Trims the text and, with bKeepQuotes, turns its enclosing quotes into markers.
CString PrepareValue(LPCSTR lpszText, BOOL bKeepQuotes) {
    CString str(lpszText);
    str.Trim();
    const int n = str.GetLength();
    if (bKeepQuotes && n > 0 && str[0] == '\'' && str[n - 1] == '\'') {
        str.SetAt(0, kQuoteMarker);
        str.SetAt(n - 1, kQuoteMarker);
    }
    return str;
}

}  // namespace

CString CKLVSyntaxEditSchemaFileStore::UnescapeValue(LPCSTR lpszText, BOOL bKeepQuotes) {
    CString str = PrepareValue(lpszText, bKeepQuotes);
    if (str.IsEmpty()) return str;
    str.Replace("\\\\", CString(kBackslashMarker));
    for (const EscapeSequence& escape : kEscapes) {
        const char szSequence[3] = {'\\', escape.chCode, 0};
        str.Replace(szSequence, CString(escape.ch));
    }
    str.Replace(kBackslashMarker, '\\');
    str.Replace(kQuoteMarker, '\'');
    return str;
}

CString CKLVSyntaxEditSchemaFileStore::EscapeValue(LPCSTR lpszText, BOOL bKeepQuotes) {
    CString str = PrepareValue(lpszText, bKeepQuotes);
    if (str.IsEmpty()) return str;
    str.Replace('\\', kBackslashMarker);
    for (const EscapeSequence& escape : kEscapes) {
        const char szSequence[3] = {'\\', escape.chCode, 0};
        str.Replace(CString(escape.ch), szSequence);
    }
    str.Replace(CString(kBackslashMarker), "\\\\");
    str.Replace(kQuoteMarker, '\'');
    return str;
}

CString CKLVSyntaxEditSchemaFileStore::JoinValues(const CStringArray& arValues, LPCSTR lpszSeparator) {
    CString str;
    for (INT_PTR i = 0; i < arValues.GetSize(); ++i) {
        if (i) str += lpszSeparator;
        str += EscapeValue(arValues[i], TRUE);
    }
    return str;
}
