// The "Editor Font" page of the editor options: a fixed-pitch face, its style, size and script,
// and the text, background and selection colours, previewed in two samples. Apply gives the
// font to the view (and the other views of its document) and saves font and colours.
#pragma once

#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageColors.h"

class CKLVSyntaxEditView;

class CKLVSyntaxEditPropertiesPageFont : public CKLVSyntaxEditPropertiesPageColors {
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
    CFont m_font;
    CKLVSyntaxEditView* m_pView;
    int m_bModified = 0;

    CKLVSyntaxEditTipComboBox m_cmbFace;
    CKLVSyntaxEditTipComboBox m_cmbStyle;
    CKLVSyntaxEditTipComboBox m_cmbSize;
    CKLVSyntaxEditTipComboBox m_cmbScript;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void FillFaces();
    void FillStyles();
    void FillSizes();
    void FillScripts();
    // The page font made again from the description, the samples shown in it.
    void SetPageFont(const LOGFONT& lf);
    void MarkModified();
    int PixelsPerInch() const;

    // The combo boxes act on every change of their selection: in a drop-down list the selection
    // follows the pointer, so a click's press and release always see the same item.
    afx_msg void OnFaceChange();
    afx_msg void OnStyleChange();
    afx_msg void OnSizeChange();
    afx_msg void OnScriptChange();
    afx_msg void OnColorChange();
    afx_msg void OnChooseColor(UINT nID);
    DECLARE_MESSAGE_MAP()
};
