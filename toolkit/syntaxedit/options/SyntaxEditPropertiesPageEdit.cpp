#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageEdit.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

namespace {

enum {
    IDC_VERT_SCROLLBAR = 100,
    IDC_HORZ_SCROLLBAR = 101,
    IDC_LINE_NUMBERS = 102,
    IDC_SEL_MARGIN = 103,
    IDC_AUTO_INDENT = 104,
    IDC_SYNTAX_COLOR = 105,
    IDC_KEEP_TABS = 106,
    IDC_INSERT_SPACES = 107,
    IDC_TAB_SIZE = 108,
    IDC_THIN_CARET = 110,
    IDC_THICK_CARET = 111,
    IDC_AUTO_RELOAD = 112
};

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditPropertiesPageEdit, CPropertyPage)
    ON_BN_CLICKED(IDC_VERT_SCROLLBAR, OnCheckChange)
    ON_BN_CLICKED(IDC_HORZ_SCROLLBAR, OnCheckChange)
    ON_BN_CLICKED(IDC_LINE_NUMBERS, OnCheckChange)
    ON_BN_CLICKED(IDC_SEL_MARGIN, OnCheckChange)
    ON_BN_CLICKED(IDC_AUTO_INDENT, OnCheckChange)
    ON_BN_CLICKED(IDC_SYNTAX_COLOR, OnCheckChange)
    ON_BN_CLICKED(IDC_AUTO_RELOAD, OnCheckChange)
    ON_EN_CHANGE(IDC_TAB_SIZE, OnCheckChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_KEEP_TABS, IDC_INSERT_SPACES, OnTabsChoice)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_THIN_CARET, IDC_THICK_CARET, OnCaretChoice)
END_MESSAGE_MAP()

CKLVSyntaxEditPropertiesPageEdit::CKLVSyntaxEditPropertiesPageEdit(CKLVSyntaxEditView* pView)
    : CPropertyPage(KLVResourceManager()->LoadDialogTemplate(KLV_IDD_SYNTAXEDIT_PAGE_EDIT)), m_pView(pView) {
    if (!m_pView || !::IsWindow(m_pView->m_hWnd)) return;
    CKLVSyntaxEditCtrl* pCtrl = m_pView->GetEditCtrl();
    if (CKLVSyntaxEditDoc* pDoc = m_pView->GetSyntaxDoc()) m_bAutoReload = pDoc->GetAutoReload();
    m_bHorzScrollBar = m_pView->GetHorzScrollBar();
    m_bVertScrollBar = m_pView->GetVertScrollBar();
    m_bSyntaxColor = pCtrl->GetSyntaxColor();
    m_bAutoIndent = pCtrl->GetAutoIndent();
    m_bSelMargin = pCtrl->GetSelMargin();
    m_bLineNumbers = pCtrl->GetLineNumbers();
    // The setting, not whether the caret is wide now (only in overwrite mode): Apply saves it.
    m_bWideCaret = pCtrl->GetWideCaret();
    m_bKeepTabs = !pCtrl->GetTabWithSpace();
    m_nTabSize = pCtrl->GetTabSize();
}

void CKLVSyntaxEditPropertiesPageEdit::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_AUTO_RELOAD, m_bAutoReload);
    DDX_Check(pDX, IDC_HORZ_SCROLLBAR, m_bHorzScrollBar);
    DDX_Check(pDX, IDC_VERT_SCROLLBAR, m_bVertScrollBar);
    DDX_Check(pDX, IDC_SYNTAX_COLOR, m_bSyntaxColor);
    DDX_Check(pDX, IDC_AUTO_INDENT, m_bAutoIndent);
    DDX_Check(pDX, IDC_SEL_MARGIN, m_bSelMargin);
    DDX_Check(pDX, IDC_LINE_NUMBERS, m_bLineNumbers);
    DDX_Text(pDX, IDC_TAB_SIZE, m_nTabSize);
    DDV_MinMaxInt(pDX, m_nTabSize, 1, 64);
}

BOOL CKLVSyntaxEditPropertiesPageEdit::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    CheckDlgButton(m_bKeepTabs ? IDC_KEEP_TABS : IDC_INSERT_SPACES, BST_CHECKED);
    CheckDlgButton(m_bWideCaret ? IDC_THICK_CARET : IDC_THIN_CARET, BST_CHECKED);
    return TRUE;
}

void CKLVSyntaxEditPropertiesPageEdit::MarkModified() {
    SetModified();
    m_bModified = 1;
}

void CKLVSyntaxEditPropertiesPageEdit::OnCheckChange() {
    UpdateData(TRUE);
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageEdit::OnTabsChoice(UINT nID) {
    m_bKeepTabs = nID == IDC_KEEP_TABS;
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageEdit::OnCaretChoice(UINT nID) {
    m_bWideCaret = nID == IDC_THICK_CARET;
    MarkModified();
}

BOOL CKLVSyntaxEditPropertiesPageEdit::OnApply() {
    const BOOL bResult = CPropertyPage::OnApply();
    if (m_bModified && m_pView && ::IsWindow(m_pView->m_hWnd)) ApplyToView();
    m_bModified = 0;
    return bResult;
}

void CKLVSyntaxEditPropertiesPageEdit::ApplyToView() {
    m_pView->SetScrollBars(m_bHorzScrollBar, m_bVertScrollBar);
    if (CKLVSyntaxEditDoc* pDoc = m_pView->GetSyntaxDoc()) pDoc->SetAutoReload(m_bAutoReload, TRUE);
    CKLVSyntaxEditCtrl* pCtrl = m_pView->GetEditCtrl();
    pCtrl->SetSyntaxColor(m_bSyntaxColor, TRUE);
    pCtrl->SetAutoIndent(m_bAutoIndent, TRUE);
    pCtrl->SetSelMargin(m_bSelMargin, TRUE);
    pCtrl->SetLineNumbers(m_bLineNumbers, TRUE);
    pCtrl->SetWideCaret(m_bWideCaret, TRUE);
    pCtrl->SetTabSize(m_nTabSize, TRUE);
    pCtrl->SetTabWithSpace(!m_bKeepTabs, TRUE);
    pCtrl->RecalcLayout();
    pCtrl->RedrawWindow();
}
