// The "Editor Font" page of the editor options: a fixed-pitch face, its style, size and script,
// and the text, background and selection colours, previewed in two samples. Apply gives the
// font to the view (and the other views of its document) and saves font and colours.
#pragma once

#include "toolkit/syntaxedit/options/SyntaxEditColorComboBox.h"

class CKLVSyntaxEditView;

class CKLVSyntaxEditPropertiesPageFont : public CPropertyPage {
public:
    explicit CKLVSyntaxEditPropertiesPageFont(CKLVSyntaxEditView* pView);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    // The font being edited.
    void GetPageLogFont(LOGFONT& lf) const;

    CString m_strFaceName = "Courier";
    CString m_strStyleName = "Regular";
    CString m_strSize = "10";
    BYTE m_nCharSet = 1;
    COLORREF m_clrText;
    COLORREF m_clrBack;
    COLORREF m_clrSelText;
    COLORREF m_clrSelBack;
    CFont m_font;
    CKLVSyntaxEditView* m_pView;
    int m_bModified = 0;

    CComboBox m_cmbFace;
    CComboBox m_cmbStyle;
    CComboBox m_cmbSize;
    CComboBox m_cmbScript;
    CKLVSyntaxEditColorComboBox m_cmbText;
    CKLVSyntaxEditColorComboBox m_cmbBack;
    CKLVSyntaxEditColorComboBox m_cmbSelText;
    CKLVSyntaxEditColorComboBox m_cmbSelBack;
    CKLVSyntaxEditColorSample m_sampleNormal;
    CKLVSyntaxEditColorSample m_sampleSelected;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void FillFaces();
    void FillStyles();
    void FillSizes();
    void FillScripts();
    void FillColors();
    void UpdateSamples();
    // The page font made again from the description, the samples shown in it.
    void SetPageFont(const LOGFONT& lf);
    void MarkModified();
    int PixelsPerInch() const;

    afx_msg void OnFaceChange();
    afx_msg void OnStyleChange();
    afx_msg void OnSizeChange();
    afx_msg void OnScriptChange();
    afx_msg void OnColorChange();
    afx_msg void OnChooseColor(UINT nID);
    DECLARE_MESSAGE_MAP()
};
