// A top-level lex class chosen by file extension ("parent:file = <*.c|*.h>"). It answers
// "IsExt=<name>" with 1 when the name is one of its extensions.
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

class CKLVSyntaxEditLexFileClass : public CKLVSyntaxEditLexClass {
public:
    CKLVLexValuePtr GetPropertyValue(LPCSTR lpszKey) override;
    // Opens one block over the whole text of a file whose extension it lists, and runs its
    // child classes inside it.
    int Match(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema, CKLVLexBlockPtr& rBlock,
              CKLVSyntaxEditLexParseContext* pContext) override;

    // Rebuilds the extension list from the first parent name.
    void BuildExtensions();
    const CStringArray& GetExtensions();
    // Whether the name equals one of the extensions (whole string, any case).
    BOOL IsExtension(LPCSTR lpszName);

protected:
    CKLVLexClassPtr CreateEmpty() const override;

private:
    CStringArray m_arExtensions;
    BOOL m_bExtensionsBuilt = FALSE;
};
