#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageColors.h"

#include "toolkit/common/ResourceManager.h"

CKLVSyntaxEditPropertiesPageColors::CKLVSyntaxEditPropertiesPageColors(UINT nIDTemplate)
    : CPropertyPage(KLVResourceManager()->LoadDialogTemplate(nIDTemplate)) {
    ResetColors();
}

CString CKLVSyntaxEditPropertiesPageColors::LoadText(UINT nID) {
    CString str;
    KLVResourceManager()->LoadString(&str, nID);
    return str;
}

void CKLVSyntaxEditPropertiesPageColors::ResetColors() {
    m_clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrBack = ::GetSysColor(COLOR_WINDOW);
    m_clrSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrSelBack = ::GetSysColor(COLOR_HIGHLIGHT);
}

void CKLVSyntaxEditPropertiesPageColors::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEXT_COLOR, m_cmbText);
    DDX_Control(pDX, IDC_BACK_COLOR, m_cmbBack);
    DDX_Control(pDX, IDC_SELTEXT_COLOR, m_cmbSelText);
    DDX_Control(pDX, IDC_SELBACK_COLOR, m_cmbSelBack);
    DDX_Control(pDX, IDC_SAMPLE_NORMAL, m_sampleNormal);
    DDX_Control(pDX, IDC_SAMPLE_SELECTED, m_sampleSelected);
    DDX_ColorCombo(pDX, IDC_TEXT_COLOR, m_clrText);
    DDX_ColorCombo(pDX, IDC_BACK_COLOR, m_clrBack);
    DDX_ColorCombo(pDX, IDC_SELTEXT_COLOR, m_clrSelText);
    DDX_ColorCombo(pDX, IDC_SELBACK_COLOR, m_clrSelBack);
}

void CKLVSyntaxEditPropertiesPageColors::FillColors() {
    const struct {
        CKLVSyntaxEditColorComboBox* pCombo;
        int nSysColor;
        COLORREF clr;
    } combos[] = {{&m_cmbText, COLOR_WINDOWTEXT, m_clrText},
                  {&m_cmbBack, COLOR_WINDOW, m_clrBack},
                  {&m_cmbSelText, COLOR_HIGHLIGHTTEXT, m_clrSelText},
                  {&m_cmbSelBack, COLOR_HIGHLIGHT, m_clrSelBack}};
    for (const auto& c : combos) {
        c.pCombo->SetAutoColor(::GetSysColor(c.nSysColor));
        c.pCombo->SelectColor(c.clr);
    }
}

void CKLVSyntaxEditPropertiesPageColors::UpdateSamples() {
    if (!m_sampleNormal.m_hWnd) return;
    m_sampleNormal.SetTextColor(m_clrText);
    m_sampleNormal.SetBackColor(m_clrBack);
    m_sampleSelected.SetTextColor(m_clrSelText);
    m_sampleSelected.SetBackColor(m_clrSelBack);
}

void CKLVSyntaxEditPropertiesPageColors::SetSampleFont(CFont* pFont) {
    if (!m_sampleNormal.m_hWnd) return;
    m_sampleNormal.SetFont(pFont);
    m_sampleSelected.SetFont(pFont);
}

BOOL CKLVSyntaxEditPropertiesPageColors::ChooseColorFor(UINT nButtonID) {
    auto* pCombo = DYNAMIC_DOWNCAST(CKLVSyntaxEditColorComboBox, GetDlgItem(static_cast<int>(nButtonID) - 1));
    return pCombo && pCombo->ChooseColor() != -1;
}
