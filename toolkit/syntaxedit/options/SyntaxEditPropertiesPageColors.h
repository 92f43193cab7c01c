// What the Font and Color pages of the editor options share: the text, background and selection
// colours, each with its colour combo box and "..." button, and the two samples showing them.
#pragma once

#include "toolkit/syntaxedit/options/SyntaxEditColorComboBox.h"

class CKLVSyntaxEditPropertiesPageColors : public CPropertyPage {
public:
    explicit CKLVSyntaxEditPropertiesPageColors(UINT nIDTemplate);

    COLORREF m_clrText;
    COLORREF m_clrBack;
    COLORREF m_clrSelText;
    COLORREF m_clrSelBack;
    CKLVSyntaxEditColorComboBox m_cmbText;
    CKLVSyntaxEditColorComboBox m_cmbBack;
    CKLVSyntaxEditColorComboBox m_cmbSelText;
    CKLVSyntaxEditColorComboBox m_cmbSelBack;
    CKLVSyntaxEditColorSample m_sampleNormal;
    CKLVSyntaxEditColorSample m_sampleSelected;

protected:
    enum {
        IDC_TEXT_COLOR = 106,
        IDC_TEXT_CHOOSE = 107,
        IDC_BACK_COLOR = 108,
        IDC_SELTEXT_COLOR = 110,
        IDC_SELBACK_COLOR = 112,
        IDC_SELBACK_CHOOSE = 113,
        IDC_SAMPLE_NORMAL = 119,
        IDC_SAMPLE_SELECTED = 120
    };

    // The combo boxes, samples and colours.
    void DoDataExchange(CDataExchange* pDX) override;
    // The system's colours.
    void ResetColors();
    // The system colours as the automatic items, the current colours selected.
    void FillColors();
    void UpdateSamples();
    void SetSampleFont(CFont* pFont);
    // The colour dialog for a "..." button's combo box (the control before it); FALSE when
    // cancelled.
    BOOL ChooseColorFor(UINT nButtonID);
    static CString LoadText(UINT nID);
};
