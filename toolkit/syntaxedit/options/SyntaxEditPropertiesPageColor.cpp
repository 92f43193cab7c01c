#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageColor.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageFont.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include <algorithm>
#include <cstdlib>

namespace {

enum {
    IDC_TEXT_COLOR = 106,
    IDC_BACK_COLOR = 108,
    IDC_SELTEXT_COLOR = 110,
    IDC_UNDERLINE = 117,
    IDC_STYLE_GROUP = 118,
    IDC_FILE_TYPES = 201,
    IDC_CLASSES = 203,
    IDC_BOLD = 204,
    IDC_ITALIC = 205,
    ID_OPEN_SCHEMA = 57601
};

// The class property each colour combo box edits.
LPCSTR ColorKey(int nComboID) {
    switch (nComboID) {
    case IDC_TEXT_COLOR: return "txt:colorFG";
    case IDC_BACK_COLOR: return "txt:colorBK";
    case IDC_SELTEXT_COLOR: return "txt:colorSelFG";
    default: return "txt:colorSelBK";
    }
}

LPCSTR StyleKey(int nButtonID) {
    switch (nButtonID) {
    case IDC_BOLD: return "txt:Bold";
    case IDC_ITALIC: return "txt:Italic";
    default: return "txt:Underline";
    }
}

CString JoinedKey(const CKLVSyntaxEditLexClassProperty& prop) {
    return CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":");
}

// The property with exactly that key (the file's own spelling), or none.
const CKLVSyntaxEditLexClassProperty* FindExact(const CKLVSyntaxEditLexClassInfo& block, LPCSTR lpszKey) {
    for (const CKLVSyntaxEditLexClassProperty& prop : block.m_arProperties)
        if (JoinedKey(prop) == lpszKey && prop.m_arValues.GetSize() > 0) return &prop;
    return nullptr;
}

void RemoveProperty(CKLVSyntaxEditLexClassInfo& block, LPCSTR lpszKey) {
    auto& props = block.m_arProperties;
    props.erase(std::remove_if(props.begin(), props.end(),
                               [lpszKey](const CKLVSyntaxEditLexClassProperty& prop) {
                                   return JoinedKey(prop).CompareNoCase(lpszKey) == 0;
                               }),
                props.end());
}

// The property's one value becomes strValue; a class without the property gets a new one.
void SetProperty(CKLVSyntaxEditLexClassInfo& block, LPCSTR lpszKey, const CString& strValue) {
    for (CKLVSyntaxEditLexClassProperty& prop : block.m_arProperties) {
        if (JoinedKey(prop).CompareNoCase(lpszKey) != 0) continue;
        prop.m_arValues.RemoveAll();
        prop.m_arValues.Add(strValue);
        return;
    }
    CKLVSyntaxEditLexClassProperty prop;
    CKLVSyntaxEditLexText::SplitByColon(lpszKey, prop.m_arKeyParts);
    prop.m_arValues.Add(strValue);
    block.m_arProperties.push_back(prop);
}

// A number as the schema files write it: "0x" starts a hexadecimal one.
long ReadNumber(const CString& strValue) {
    CString str = strValue;
    str.Trim();
    const BOOL bHex = str.GetLength() > 1 && str[0] == '0' && (str[1] == 'x' || str[1] == 'X');
    return std::strtol(str, nullptr, bHex ? 16 : 10);
}

// Schema files write colours 0xRRGGBB, red in the high byte.
CString FormatColor(COLORREF clr) {
    CString str;
    str.Format("0x%06X", static_cast<unsigned>((GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr)));
    return str;
}

COLORREF ParseColor(const CString& strValue) {
    const unsigned long nRgb = static_cast<unsigned long>(ReadNumber(strValue));
    return RGB((nRgb >> 16) & 0xFF, (nRgb >> 8) & 0xFF, nRgb & 0xFF);
}

// The file's name and extension.
CString FileNameOf(const CString& strPath) { return strPath.Mid(strPath.ReverseFind('\\') + 1); }

CKLVSyntaxEditConfigManager* ConfigManagerOf(CKLVSyntaxEditView* pView) {
    CKLVSyntaxEditCtrl* pCtrl = pView ? pView->GetEditCtrl() : nullptr;
    CKLVSyntaxEditBufferManager* pBuffer = pCtrl ? pCtrl->GetBuffer() : nullptr;
    return pBuffer ? dynamic_cast<CKLVSyntaxEditConfigManager*>(pBuffer->GetLexConfigManager()) : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditPropertiesPageColor, CKLVSyntaxEditPropertiesPageColors)
    ON_LBN_SELCHANGE(IDC_FILE_TYPES, OnFileTypeChange)
    ON_CONTROL(LBN_DBLCLK, IDC_FILE_TYPES, OnFileTypeDblClk)
    ON_LBN_SELCHANGE(IDC_CLASSES, OnClassChange)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_TEXT_COLOR, IDC_SELBACK_COLOR, OnColorChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TEXT_CHOOSE, IDC_SELBACK_CHOOSE, OnChooseColor)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_BOLD, IDC_ITALIC, OnStyleClick)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_UNDERLINE, IDC_UNDERLINE, OnStyleClick)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CKLVSyntaxEditPropertiesPageColor::CKLVSyntaxEditPropertiesPageColor(CKLVSyntaxEditView* pView)
    : CKLVSyntaxEditPropertiesPageColors(KLV_IDD_SYNTAXEDIT_PAGE_COLOR), m_pView(pView) {
    m_pConfigManager.AssignRaw(ConfigManagerOf(pView));
}

void CKLVSyntaxEditPropertiesPageColor::ResetValues() {
    ResetColors();
    m_bBold = m_bItalic = m_bUnderline = 0;
}

void CKLVSyntaxEditPropertiesPageColor::DoDataExchange(CDataExchange* pDX) {
    CKLVSyntaxEditPropertiesPageColors::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILE_TYPES, m_lstFileTypes);
    DDX_Control(pDX, IDC_CLASSES, m_lstClasses);
    DDX_Check(pDX, IDC_BOLD, m_bBold);
    DDX_Check(pDX, IDC_ITALIC, m_bItalic);
    DDX_Check(pDX, IDC_UNDERLINE, m_bUnderline);
}

BOOL CKLVSyntaxEditPropertiesPageColor::OnInitDialog() {
    CKLVSyntaxEditPropertiesPageColors::OnInitDialog();
    FillColors();
    if (m_pConfigManager) m_pConfigManager->CopyLexClassInfosTo(m_mapClassInfos);
    FillFileTypes();
    UpdateSampleFont();
    UpdateSamples();
    EnableControls();
    return TRUE;
}

void CKLVSyntaxEditPropertiesPageColor::FillFileTypes() {
    m_lstFileTypes.ResetContent();
    if (m_pConfigManager) m_arSchemes = m_pConfigManager->GetSchemeEntries();
    for (const CKLVSyntaxEditSchemeMap::CEntry& entry : m_arSchemes) {
        const int nIndex = m_lstFileTypes.AddString(entry.strComment.IsEmpty() ? entry.strName : entry.strComment);
        if (nIndex >= 0) m_lstFileTypes.SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(&entry));
    }
    if (m_lstFileTypes.GetCount() == 0) return;
    m_lstFileTypes.SetCurSel(0);
    OnFileTypeChange();
}

const CKLVSyntaxEditSchemeMap::CEntry* CKLVSyntaxEditPropertiesPageColor::GetSelectedScheme() {
    const int nSel = m_lstFileTypes.GetCurSel();
    return nSel < 0 ? nullptr : reinterpret_cast<const CKLVSyntaxEditSchemeMap::CEntry*>(m_lstFileTypes.GetItemData(nSel));
}

CKLVSyntaxEditLexClassInfo* CKLVSyntaxEditPropertiesPageColor::GetSelectedClass() {
    const int nSel = m_lstClasses.GetCurSel();
    return nSel < 0 ? nullptr : reinterpret_cast<CKLVSyntaxEditLexClassInfo*>(m_lstClasses.GetItemData(nSel));
}

void CKLVSyntaxEditPropertiesPageColor::OnFileTypeChange() {
    if (!m_lstFileTypes.GetTip().IsSelectionChanged()) return;
    LoadFileType();
}

void CKLVSyntaxEditPropertiesPageColor::LoadFileType() {
    const CKLVSyntaxEditSchemeMap::CEntry* pEntry = GetSelectedScheme();
    auto it = pEntry ? m_mapClassInfos.find(pEntry->strFile.GetString()) : m_mapClassInfos.end();
    if (it == m_mapClassInfos.end()) return;
    m_pShown = it->second.get();
    m_lstClasses.SetRedraw(FALSE);
    m_lstClasses.ResetContent();
    for (CKLVSyntaxEditLexClassInfo& block : *m_pShown) {
        CString strText = block.m_strName;
        for (const CKLVSyntaxEditLexClassProperty& prop : block.m_arProperties)
            if (JoinedKey(prop) == "DisplayName") {
                strText = CKLVSyntaxEditLexText::JoinStrings(prop.m_arValues, ", ");
                strText.Remove('\'');
                break;
            }
        const int nIndex = m_lstClasses.AddString(strText);
        if (nIndex >= 0) m_lstClasses.SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(&block));
    }
    m_lstClasses.SetCurSel(0);
    OnClassChange();
    m_lstClasses.SetRedraw(TRUE);
    m_lstClasses.Invalidate();
}

void CKLVSyntaxEditPropertiesPageColor::OnClassChange() {
    if (!m_lstClasses.GetTip().IsSelectionChanged()) return;
    LoadClass();
}

void CKLVSyntaxEditPropertiesPageColor::LoadClass() {
    ResetValues();
    if (const CKLVSyntaxEditLexClassInfo* pBlock = GetSelectedClass()) {
        const struct {
            LPCSTR key;
            COLORREF& clr;
        } colors[] = {{"txt:colorFG", m_clrText},
                      {"txt:colorBK", m_clrBack},
                      {"txt:colorSelFG", m_clrSelText},
                      {"txt:colorSelBK", m_clrSelBack}};
        for (const auto& c : colors)
            if (const CKLVSyntaxEditLexClassProperty* pProp = FindExact(*pBlock, c.key)) c.clr = ParseColor(pProp->m_arValues[0]);
        const struct {
            LPCSTR key;
            int& nFlag;
        } flags[] = {{"txt:Bold", m_bBold}, {"txt:Italic", m_bItalic}, {"txt:Underline", m_bUnderline}};
        for (const auto& f : flags)
            if (const CKLVSyntaxEditLexClassProperty* pProp = FindExact(*pBlock, f.key))
                f.nFlag = static_cast<int>(ReadNumber(pProp->m_arValues[0]));
    }
    UpdateSampleFont();
    UpdateSamples();
    EnableControls();
    UpdateData(FALSE);
}

void CKLVSyntaxEditPropertiesPageColor::UpdateSampleFont() {
    auto* pSheet = DYNAMIC_DOWNCAST(CPropertySheet, GetParent());
    auto* pFontPage = pSheet && pSheet->GetPageCount() > 1
                          ? dynamic_cast<CKLVSyntaxEditPropertiesPageFont*>(pSheet->GetPage(1))
                          : nullptr;
    if (!pFontPage) return;
    LOGFONT lf;
    pFontPage->GetPageLogFont(lf);
    lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = static_cast<BYTE>(m_bItalic ? 1 : 0);
    lf.lfUnderline = static_cast<BYTE>(m_bUnderline ? 1 : 0);
    lf.lfStrikeOut = 0;
    m_fontSample.DeleteObject();
    m_fontSample.CreateFontIndirect(&lf);
    SetSampleFont(&m_fontSample);
}

void CKLVSyntaxEditPropertiesPageColor::EnableControls() {
    const BOOL bFileType = m_lstFileTypes.GetCurSel() >= 0;
    const BOOL bBoth = bFileType && m_lstClasses.GetCurSel() >= 0;
    m_lstClasses.EnableWindow(bFileType);
    for (const int nID : std::initializer_list<int>{IDC_SAMPLE_NORMAL, IDC_SAMPLE_SELECTED, IDC_STYLE_GROUP, IDC_TEXT_COLOR, IDC_TEXT_CHOOSE,
                    IDC_BACK_COLOR, IDC_BACK_COLOR + 1, IDC_SELTEXT_COLOR, IDC_SELTEXT_COLOR + 1, IDC_SELBACK_COLOR,
                    IDC_SELBACK_CHOOSE, IDC_BOLD, IDC_ITALIC, IDC_UNDERLINE})
        if (CWnd* pCtrl = GetDlgItem(nID)) pCtrl->EnableWindow(bBoth);
}

void CKLVSyntaxEditPropertiesPageColor::MarkModified() {
    SetModified();
    m_bModified = 1;
    if (m_pShown) m_pShown->m_bModified = TRUE;
}

void CKLVSyntaxEditPropertiesPageColor::OnColorChange(UINT nID) {
    if ((nID - IDC_TEXT_COLOR) % 2) return;   // the buttons between the combo boxes
    UpdateData(TRUE);
    UpdateSamples();
    MarkModified();
    if (CKLVSyntaxEditLexClassInfo* pBlock = GetSelectedClass()) SetColorProperty(*pBlock, static_cast<int>(nID));
}

void CKLVSyntaxEditPropertiesPageColor::OnChooseColor(UINT nID) {
    if ((nID - IDC_TEXT_CHOOSE) % 2 == 0 && ChooseColorFor(nID)) OnColorChange(nID - 1);
}

void CKLVSyntaxEditPropertiesPageColor::SetColorProperty(CKLVSyntaxEditLexClassInfo& block, int nComboID) {
    auto* pCombo = DYNAMIC_DOWNCAST(CKLVSyntaxEditColorComboBox, GetDlgItem(nComboID));
    const COLORREF clr = pCombo ? pCombo->GetSelectedColor() : COLORREF(-1);
    // The automatic colour is no colour of the class's own: it falls back to what it inherits.
    if (!pCombo || clr == pCombo->GetAutoColor())
        RemoveProperty(block, ColorKey(nComboID));
    else
        SetProperty(block, ColorKey(nComboID), FormatColor(clr));
}

void CKLVSyntaxEditPropertiesPageColor::OnStyleClick(UINT nID) {
    UpdateData(TRUE);
    UpdateSampleFont();
    MarkModified();
    CKLVSyntaxEditLexClassInfo* pBlock = GetSelectedClass();
    if (!pBlock) return;
    RemoveProperty(*pBlock, StyleKey(static_cast<int>(nID)));
    if (IsDlgButtonChecked(static_cast<int>(nID)) == BST_CHECKED) SetProperty(*pBlock, StyleKey(static_cast<int>(nID)), "1");
}

void CKLVSyntaxEditPropertiesPageColor::OnFileTypeDblClk() { OpenSchemaFile(m_lstFileTypes.GetCurSel()); }

void CKLVSyntaxEditPropertiesPageColor::OpenSchemaFile(int nFileType) {
    if (nFileType < 0 || nFileType >= m_lstFileTypes.GetCount()) return;
    const CString strPath = reinterpret_cast<const CKLVSyntaxEditSchemeMap::CEntry*>(m_lstFileTypes.GetItemData(nFileType))->strFile;
    const DWORD dwAttributes = ::GetFileAttributesA(strPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    CString strQuestion;
    strQuestion.Format(LoadText(KLV_IDS_SYNTAXEDIT_OPENSCHEMA_ASK), FileNameOf(strPath).GetString());
    if (AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    CWinApp* pApp = AfxGetApp();
    // The sheet and this page may be gone once the sheet is cancelled: only locals from here.
    if (auto* pSheet = DYNAMIC_DOWNCAST(CPropertySheet, GetParent())) pSheet->PressButton(PSBTN_CANCEL);
    // The application opens it through its own template; the document manager alone has none.
    if (pApp) pApp->OpenDocumentFile(strPath);
}

void CKLVSyntaxEditPropertiesPageColor::OnContextMenu(CWnd*, CPoint pos) {
    CPoint pt = pos;
    m_lstFileTypes.ScreenToClient(&pt);
    CRect rcClient;
    m_lstFileTypes.GetClientRect(&rcClient);
    BOOL bOutside = TRUE;
    const int nItem = rcClient.PtInRect(pt) ? static_cast<int>(m_lstFileTypes.ItemFromPoint(pt, bOutside)) : -1;
    if (nItem < 0 || bOutside) return;
    m_lstFileTypes.SetCurSel(nItem);
    OnFileTypeChange();
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_STRING, ID_OPEN_SCHEMA, LoadText(KLV_IDS_SYNTAXEDIT_OPENSCHEMA));
    const UINT nCmd = static_cast<UINT>(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pos.x, pos.y, this));
    if (nCmd == ID_OPEN_SCHEMA) OpenSchemaFile(nItem);
}

BOOL CKLVSyntaxEditPropertiesPageColor::OnSetActive() {
    UpdateSampleFont();
    return CKLVSyntaxEditPropertiesPageColors::OnSetActive();
}

BOOL CKLVSyntaxEditPropertiesPageColor::OnApply() {
    const BOOL bResult = CKLVSyntaxEditPropertiesPageColors::OnApply();
    if (m_bModified && m_pView && ::IsWindow(m_pView->m_hWnd) && m_pConfigManager) {
        CStringArray arFailed;
        if (!m_pConfigManager->WriteLexClassFiles(m_mapClassInfos, &arFailed)) {
            ReportUnwritten(arFailed);
            // The edits stay marked for the next Apply, and OK leaves the sheet open.
            return FALSE;
        }
    }
    m_bModified = 0;
    return bResult;
}

void CKLVSyntaxEditPropertiesPageColor::ReportUnwritten(const CStringArray& arPaths) {
    CString strNames;
    for (int i = 0; i < arPaths.GetSize(); ++i) {
        if (i > 0) strNames += ", ";
        strNames += FileNameOf(arPaths[i]);
    }
    CString strMessage;
    strMessage.Format(LoadText(KLV_IDS_SYNTAXEDIT_WRITESCHEMA_FAILED), strNames.GetString());
    AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
}
