// The process's reader, writer and cache of lexer schema files ("lexClass:" blocks of property
// lines). The configuration manager loads schemes through it; the Color page copies the cached
// blocks, edits them and writes them back.
#pragma once

#include "toolkit/common/CriticalSection.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassInfo.h"

class CKLVSyntaxEditSchemaFileStore {
public:
    // Tokenizer states; each is also the kind of the token it reads.
    enum {
        klvTokenNone = 0,
        klvTokenSeparator = 1,
        klvTokenWord = 2,
        klvTokenOtherWord = 3,
        klvTokenQuoted = 4,
        klvTokenComment = 5,
        klvTokenLineEnd = 6,
        klvTokenAssignment = 7
    };

    CKLVSyntaxEditSchemaFileStore() = default;
    virtual ~CKLVSyntaxEditSchemaFileStore() = default;
    CKLVSyntaxEditSchemaFileStore(const CKLVSyntaxEditSchemaFileStore&) = delete;
    CKLVSyntaxEditSchemaFileStore& operator=(const CKLVSyntaxEditSchemaFileStore&) = delete;

    // Reads and parses a file into the current blocks; with bCache also keeps a copy under
    // the path. A missing path or a folder changes nothing.
    void LoadSchemaFile(LPCSTR lpszPath, BOOL bCache);
    // Parses text into the current blocks (for text that is not in a file).
    void LoadSchemaText(LPCSTR lpszText);
    // The blocks of the last parse.
    CKLVSyntaxEditLexClassInfoArray& GetCurrentBlocks() { return m_arCurrent; }
    // Replaces the target's arrays with copies of every cached one.
    void CopyLexClassInfosTo(CKLVSyntaxEditLexClassInfoMap& target);
    const CKLVSyntaxEditLexClassInfoArray* GetCached(LPCSTR lpszPath);

    // Rewrites a file with the edited blocks, keeping every line it does not change. The file
    // is replaced only by a complete new one; 1 written, 0 not (nothing modified, or the new
    // file could not be written: the old one stays as it was).
    BOOL WriteLexClassFile(LPCSTR lpszPath, const CKLVSyntaxEditLexClassInfoArray& edited);

    // Element 0 empty, element n the file's line n without its line end; a missing path or a
    // folder gives an empty array.
    static void ReadLines(LPCSTR lpszPath, CStringArray& arLines);

    static CString UnescapeValue(LPCSTR lpszText, BOOL bKeepQuotes);
    static CString EscapeValue(LPCSTR lpszText, BOOL bKeepQuotes);
    static CString JoinValues(const CStringArray& arValues, LPCSTR lpszSeparator);

    // The tokenizer over the store's text (exposed for the format's tests).
    void SetText(LPCSTR lpszText);
    int ReadToken();
    int ReadSignificantToken();
    const CString& GetToken() const { return m_strToken; }
    int GetLine() const { return m_nLine; }
    BOOL IsAtEnd() const { return m_nPos >= m_nEndPos; }
    void ParseSchemaText(CKLVSyntaxEditLexClassInfoArray& arBlocks);

private:
    static int Classify(char ch);
    static BOOL KeepsState(int nState, char ch);
    static BOOL IsSignificant(int nKind) { return nKind >= klvTokenWord && nKind != klvTokenComment; }
    char ReadChar();
    void AppendToToken(char ch);
    // One character of a quoted string; TRUE when the string ended.
    BOOL ReadQuotedChar(char ch);
    int ReadBlock(CKLVSyntaxEditLexClassInfo& info, int nKind);
    // Reads the key and values of one property line; the kind of the token after it.
    int ReadProperty(CKLVSyntaxEditLexClassInfo& info, int nKind);
    BOOL IsBlockStart() const { return m_strToken == "lexClass:"; }

    CKLVCriticalSection m_cs;
    CString m_strText;
    CString m_strToken;
    int m_nPos = 0;
    int m_nEndPos = 0;
    int m_nLine = 1;
    int m_nLastLineFeed = -1;
    int m_nLastValueEnd = 0;
    int m_nState = klvTokenNone;
    int m_nTokenStart = 0;
    int m_nTokenEnd = 0;
    int m_nTokenLine = 1;
    CKLVSyntaxEditLexClassInfoMap m_mapCache;
    CKLVSyntaxEditLexClassInfoArray m_arCurrent;
};

// The one store of the process.
CKLVSyntaxEditSchemaFileStore& GetSchemaFileStore();
