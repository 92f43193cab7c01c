// What the configuration does with a schema: building its classes from a schema file, copying
// it for a buffer, and colouring its classes with a theme.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditTheme.h"

#include <unordered_set>

namespace {

const char kTextPrefix[] = "txt:";

void ApplyToClasses(CKLVLexClassList& arClasses, std::unordered_set<CKLVSyntaxEditLexClass*>& visited,
                    CKLVSyntaxEditLexClassTree& tree, const CKLVSyntaxEditTheme* pTheme) {
    for (const CKLVLexClassPtr& pClass : arClasses) {
        if (!visited.insert(pClass.Get()).second) continue;
        ApplyToClasses(pClass->GetChildren(), visited, tree, pTheme);
        ApplyToClasses(pClass->GetChildren2(), visited, tree, pTheme);
        // Back to the schema file's attributes first, so that a theme's values do not stay
        // behind when the next theme has none.
        CKLVLexClassPtr pDefinition = tree.FindClass(pClass->GetName());
        if (pDefinition && pDefinition != pClass) {
            pClass->RemoveAttributes(kTextPrefix);
            pClass->CopyAttributes(*pDefinition, kTextPrefix);
        }
        if (!pTheme) continue;
        CKLVThemeValues values;
        pTheme->CollectValues(pClass->GetName(), values);
        for (const auto& value : values) {
            CKLVSyntaxEditLexClassProperty prop;
            CKLVSyntaxEditLexText::SplitByColon(CString(kTextPrefix) + value.first, prop.m_arKeyParts);
            prop.m_arValues.Add(value.second);
            BOOL bHandled = FALSE;
            pClass->SetAttributeProperty(prop, bHandled);
        }
    }
}

}  // namespace

BOOL CKLVSyntaxEditLexTextSchema::LoadClasses(const CKLVSyntaxEditLexClassInfoArray& arBlocks) {
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    for (const CKLVSyntaxEditLexClassInfo& info : arBlocks) {
        auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
        pClass->SetName(info.m_strName);
        for (const CKLVSyntaxEditLexClassProperty& prop : info.m_arProperties) pClass->ApplyProperty(prop);
        m_pTree->AddClass(pClass.Get());
    }
    return m_pTree->Build();
}

CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> CKLVSyntaxEditLexTextSchema::Clone() {
    auto pClone = KLVMakeCounted<CKLVSyntaxEditLexTextSchema>(m_strName);
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    if (!m_pTree->CopyTo(pClone->GetClassTree())) return CKLVSmartPtr<CKLVSyntaxEditLexTextSchema>();
    return pClone;
}

void CKLVSyntaxEditLexTextSchema::ApplyTheme(const CKLVSyntaxEditTheme* pTheme, CKLVLexClassList& arClasses) {
    std::unordered_set<CKLVSyntaxEditLexClass*> visited;
    ApplyToClasses(arClasses, visited, *m_pTree, pTheme);
}

void CKLVSyntaxEditLexTextSchema::SetTheme(LPARAM pTheme) {
    // Painting and parsing read the attributes: both locks keep them out meanwhile.
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    CKLVSyntaxEditLexBlockLock blockLock(&m_lockBlocks);
    const auto* pThemeObj = reinterpret_cast<const CKLVSyntaxEditTheme*>(pTheme);
    ApplyTheme(pThemeObj, m_pTree->GetRoots(FALSE));
    ApplyTheme(pThemeObj, m_pTree->GetRoots(TRUE));
}
