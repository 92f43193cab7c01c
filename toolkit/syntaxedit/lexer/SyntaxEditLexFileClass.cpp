#include "toolkit/syntaxedit/lexer/SyntaxEditLexFileClass.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <cstring>

namespace {
const char kIsExtPrefix[] = "IsExt=";
}

CKLVLexClassPtr CKLVSyntaxEditLexFileClass::CreateEmpty() const { return KLVMakeCounted<CKLVSyntaxEditLexFileClass>(); }

void CKLVSyntaxEditLexFileClass::BuildExtensions() {
    m_arExtensions.RemoveAll();
    m_bExtensionsBuilt = TRUE;
    CStringArray arNames;
    GetParentInfo(arNames);
    if (arNames.IsEmpty()) return;
    CString strPattern = arNames[0];
    strPattern.Trim();
    if (strPattern.GetLength() < 2 || strPattern[0] != '<' || strPattern[strPattern.GetLength() - 1] != '>') return;
    CStringArray arPieces;
    CKLVSyntaxEditLexText::Split(strPattern.Mid(1, strPattern.GetLength() - 2), "|", arPieces);
    for (INT_PTR i = 0; i < arPieces.GetSize(); ++i) {
        CString strPiece = arPieces[i];
        strPiece.Remove('*');
        m_arExtensions.Add(strPiece.Trim());
    }
}

const CStringArray& CKLVSyntaxEditLexFileClass::GetExtensions() {
    if (!m_bExtensionsBuilt) BuildExtensions();
    return m_arExtensions;
}

BOOL CKLVSyntaxEditLexFileClass::IsExtension(LPCSTR lpszName) {
    const CStringArray& arExtensions = GetExtensions();
    for (INT_PTR i = 0; i < arExtensions.GetSize(); ++i)
        if (::lstrcmpiA(arExtensions[i], lpszName) == 0) return TRUE;
    return FALSE;
}

CKLVLexValuePtr CKLVSyntaxEditLexFileClass::GetPropertyValue(LPCSTR lpszKey) {
    const size_t nPrefix = std::strlen(kIsExtPrefix);
    if (lpszKey && std::strncmp(lpszKey, kIsExtPrefix, nPrefix) == 0)
        return KLVMakeCounted<CKLVSyntaxEditLexValueObj>(IsExtension(lpszKey + nPrefix) ? 1 : 0);
    return CKLVSyntaxEditLexClass::GetPropertyValue(lpszKey);
}

namespace {

void CloseAtEnd(IKLVSyntaxEditLexBlockSchema* pSchema, IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pBlock) {
    CKLVSyntaxEditLexBlockLock lock(pSchema);
    pBlock->m_posEnd = pIter->GetPosition();
    pBlock->m_nEndExtent = 0;
}

}  // namespace

int CKLVSyntaxEditLexFileClass::Match(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                      CKLVLexBlockPtr& rBlock, CKLVSyntaxEditLexParseContext* pContext) {
    if (!pIter || !pSchema) return klvMatchCannotGoOn | klvMatchConsumed;
    GetExtensions();
    int nFlags = 0;
    if (!rBlock) {
        if (!IsExtension(pIter->GetFileName())) return 0;
        CKLVLexBlockPtr pBlock = pSchema->CreateBlock();
        if (!pBlock) return klvMatchCannotGoOn | klvMatchOpened;
        pBlock->m_pClass.AssignRaw(this);
        pBlock->m_posStart = pIter->GetPosition();
        rBlock = pBlock;
        nFlags = klvMatchOpened | klvMatchConsumed;
    }
    if (pIter->IsEOF()) {
        CloseAtEnd(pSchema, pIter, rBlock.Get());
        return nFlags | klvMatchEnded | klvMatchConsumed;
    }
    if (nFlags) return nFlags;
    if (GetChildren().empty() && GetChildren2().empty()) return 0;
    nFlags = pSchema->ParseChildren(pIter, rBlock.Get(), this, pContext) & ~(klvMatchOpened | klvMatchEnded);
    if (nFlags & klvMatchStopMask) return nFlags;
    if (pIter->IsEOF()) {
        CloseAtEnd(pSchema, pIter, rBlock.Get());
        nFlags |= klvMatchEnded;
    }
    return nFlags;
}
