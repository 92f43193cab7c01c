// The "Syntax Color" page of the editor options: for each scheme of the lexer configuration, the
// classes of its schema file with their colours and Bold, Italic and Underline. The page edits
// copies of the schema file store's blocks; Apply writes the changed files, and the file monitor
// then reloads them into every open editor.
#pragma once

#include "toolkit/syntaxedit/lexer/KLVSmartPtr.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageColors.h"
#include "toolkit/syntaxedit/options/SyntaxEditTipListBox.h"

#include <vector>

class CKLVSyntaxEditView;

class CKLVSyntaxEditPropertiesPageColor : public CKLVSyntaxEditPropertiesPageColors {
public:
    explicit CKLVSyntaxEditPropertiesPageColor(CKLVSyntaxEditView* pView);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    BOOL OnSetActive() override;

    // The block of the class shown, or none.
    CKLVSyntaxEditLexClassInfo* GetSelectedClass();
    // Asks whether to open the file type's schema file, and opens it in place of the sheet.
    void OpenSchemaFile(int nFileType);

    CKLVSyntaxEditTipListBox m_lstFileTypes;
    CKLVSyntaxEditTipListBox m_lstClasses;
    CFont m_fontSample;
    CKLVSyntaxEditView* m_pView;
    CKLVSmartPtr<CKLVSyntaxEditConfigManager> m_pConfigManager;
    // The configured schemes; the file type list's items point at them.
    std::vector<CKLVSyntaxEditSchemeMap::CEntry> m_arSchemes;
    CKLVSyntaxEditLexClassInfoMap m_mapClassInfos;
    CKLVSyntaxEditLexClassInfoArray* m_pShown = nullptr;
    int m_bBold = 0;
    int m_bItalic = 0;
    int m_bUnderline = 0;
    int m_bModified = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ResetValues();
    void FillFileTypes();
    void LoadFileType();
    void LoadClass();
    void UpdateSampleFont();
    void EnableControls();
    void MarkModified();
    // Tells the user which schema files Apply could not write.
    void ReportUnwritten(const CStringArray& arPaths);
    void SetColorProperty(CKLVSyntaxEditLexClassInfo& block, int nComboID);
    const CKLVSyntaxEditSchemeMap::CEntry* GetSelectedScheme();

    afx_msg void OnFileTypeChange();
    afx_msg void OnFileTypeDblClk();
    afx_msg void OnClassChange();
    afx_msg void OnColorChange(UINT nID);
    afx_msg void OnChooseColor(UINT nID);
    afx_msg void OnStyleClick(UINT nID);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    DECLARE_MESSAGE_MAP()
};
