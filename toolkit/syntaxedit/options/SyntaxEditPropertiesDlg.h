// The editor options sheet: the Edit, Font and Color pages for the view being edited, opened
// on the Edit page; the pages apply what was changed.
#pragma once

#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageEdit.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageColor.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageFont.h"

class CKLVSyntaxEditPropertiesDlg : public CPropertySheet {
    DECLARE_DYNAMIC(CKLVSyntaxEditPropertiesDlg)
public:
    explicit CKLVSyntaxEditPropertiesDlg(CKLVSyntaxEditView* pView);

    CKLVSyntaxEditPropertiesPageEdit m_pageEdit;
    CKLVSyntaxEditPropertiesPageFont m_pageFont;
    CKLVSyntaxEditPropertiesPageColor m_pageColor;
};
