// The document of one editor tab: a syntax editor document.
#pragma once

#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

class CquorlinDoc : public CKLVSyntaxEditDoc {
    DECLARE_DYNCREATE(CquorlinDoc)
public:
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;
};
