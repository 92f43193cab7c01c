#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

namespace {

CString LoadCaption() {
    CString strCaption;
    KLVResourceManager()->LoadString(&strCaption, KLV_IDS_SYNTAXEDIT_OPTIONS);
    return strCaption;
}

}  // namespace

IMPLEMENT_DYNAMIC(CKLVSyntaxEditPropertiesDlg, CPropertySheet)

CKLVSyntaxEditPropertiesDlg::CKLVSyntaxEditPropertiesDlg(CKLVSyntaxEditView* pView)
    : CPropertySheet(LoadCaption(), pView, 0), m_pageEdit(pView), m_pageFont(pView), m_pageColor(pView) {
    AddPage(&m_pageEdit);
    AddPage(&m_pageFont);
    AddPage(&m_pageColor);
}
