#include "toolkit/syntaxedit/options/SyntaxEditPropertiesPageFont.h"

#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include <cstdlib>

namespace {

enum {
    IDC_FONT_FACE = 101,
    IDC_FONT_STYLE = 103,
    IDC_FONT_SIZE = 105,
    IDC_FONT_SCRIPT = 115
};

const char* const kStandardSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18",
                                      "20", "22", "24", "26", "28", "36", "48", "72"};

// Selects the exact text, or shows it in the edit field when the list lacks it.
void SelectOrShow(CComboBox& combo, const CString& strText) {
    const int nIndex = combo.FindStringExact(-1, strText);
    if (nIndex >= 0)
        combo.SetCurSel(nIndex);
    else
        combo.SetWindowText(strText);
}

CString SelectedText(CComboBox& combo) {
    CString str;
    const int nSel = combo.GetCurSel();
    if (nSel >= 0) combo.GetLBText(nSel, str);
    return str;
}

// Calls back for every font of the face (every face when empty) in the character set.
template <typename Fn>
void EnumFonts(LPCSTR lpszFace, BYTE nCharSet, BYTE nPitch, Fn fn) {
    LOGFONTA lf{};
    lf.lfCharSet = nCharSet;
    lf.lfPitchAndFamily = nPitch;
    lstrcpynA(lf.lfFaceName, lpszFace, LF_FACESIZE);
    CClientDC dc(nullptr);
    ::EnumFontFamiliesExA(
        dc.m_hDC, &lf,
        [](const LOGFONTA* plf, const TEXTMETRICA* ptm, DWORD dwType, LPARAM lParam) -> int {
            (*reinterpret_cast<Fn*>(lParam))(*reinterpret_cast<const ENUMLOGFONTEXA*>(plf), *ptm, dwType);
            return 1;
        },
        reinterpret_cast<LPARAM>(&fn), 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditPropertiesPageFont, CKLVSyntaxEditPropertiesPageColors)
    ON_CBN_SELCHANGE(IDC_FONT_FACE, OnFaceChange)
    ON_CBN_SELCHANGE(IDC_FONT_STYLE, OnStyleChange)
    ON_CBN_SELCHANGE(IDC_FONT_SIZE, OnSizeChange)
    ON_CBN_SELCHANGE(IDC_FONT_SCRIPT, OnScriptChange)
    ON_CBN_SELCHANGE(IDC_TEXT_COLOR, OnColorChange)
    ON_CBN_SELCHANGE(IDC_BACK_COLOR, OnColorChange)
    ON_CBN_SELCHANGE(IDC_SELTEXT_COLOR, OnColorChange)
    ON_CBN_SELCHANGE(IDC_SELBACK_COLOR, OnColorChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TEXT_CHOOSE, IDC_SELBACK_CHOOSE, OnChooseColor)
END_MESSAGE_MAP()

CKLVSyntaxEditPropertiesPageFont::CKLVSyntaxEditPropertiesPageFont(CKLVSyntaxEditView* pView)
    : CKLVSyntaxEditPropertiesPageColors(KLV_IDD_SYNTAXEDIT_PAGE_FONT), m_pView(pView) {
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    LOGFONT lf{};
    pPaint->GetTextFont()->GetLogFont(&lf);
    m_font.CreateFontIndirect(&lf);
    const CKLVSyntaxEditTextColors& colors = pPaint->GetColors();
    m_clrText = colors.crText;
    m_clrBack = colors.crBack;
    m_clrSelText = colors.crSelText;
    m_clrSelBack = colors.crSelBack;
}

void CKLVSyntaxEditPropertiesPageFont::GetPageLogFont(LOGFONT& lf) const {
    lf = LOGFONT{};
    if (m_font.m_hObject) m_font.GetLogFont(&lf);
}

int CKLVSyntaxEditPropertiesPageFont::PixelsPerInch() const {
    CClientDC dc(nullptr);
    return dc.GetDeviceCaps(LOGPIXELSY);
}

void CKLVSyntaxEditPropertiesPageFont::DoDataExchange(CDataExchange* pDX) {
    CKLVSyntaxEditPropertiesPageColors::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FONT_FACE, m_cmbFace);
    DDX_Control(pDX, IDC_FONT_STYLE, m_cmbStyle);
    DDX_Control(pDX, IDC_FONT_SIZE, m_cmbSize);
    DDX_Control(pDX, IDC_FONT_SCRIPT, m_cmbScript);
}

BOOL CKLVSyntaxEditPropertiesPageFont::OnInitDialog() {
    CKLVSyntaxEditPropertiesPageColors::OnInitDialog();
    FillFaces();
    FillStyles();
    FillSizes();
    FillScripts();
    FillColors();
    SetSampleFont(&m_font);
    UpdateSamples();
    return TRUE;
}

void CKLVSyntaxEditPropertiesPageFont::FillFaces() {
    m_cmbFace.ResetContent();
    auto addFixed = [this](const ENUMLOGFONTEXA& elf, const TEXTMETRICA&, DWORD) {
        const LPCSTR lpszFace = elf.elfLogFont.lfFaceName;
        if ((elf.elfLogFont.lfPitchAndFamily & FIXED_PITCH) && m_cmbFace.FindStringExact(-1, lpszFace) < 0)
            m_cmbFace.AddString(lpszFace);
    };
    EnumFonts("", DEFAULT_CHARSET, FIXED_PITCH, addFixed);
    LOGFONT lf;
    GetPageLogFont(lf);
    SelectOrShow(m_cmbFace, lf.lfFaceName);
}

void CKLVSyntaxEditPropertiesPageFont::FillStyles() {
    m_cmbStyle.ResetContent();
    for (UINT nID : {KLV_IDS_SYNTAXEDIT_REGULAR, KLV_IDS_SYNTAXEDIT_BOLD, KLV_IDS_SYNTAXEDIT_ITALIC,
                     KLV_IDS_SYNTAXEDIT_BOLDITALIC})
        m_cmbStyle.AddString(LoadText(nID));
    LOGFONT lf;
    GetPageLogFont(lf);
    const BOOL bBold = lf.lfWeight >= FW_BOLD;
    const UINT nCurrent = bBold && lf.lfItalic ? KLV_IDS_SYNTAXEDIT_BOLDITALIC
                          : bBold              ? KLV_IDS_SYNTAXEDIT_BOLD
                          : lf.lfItalic        ? KLV_IDS_SYNTAXEDIT_ITALIC
                                               : KLV_IDS_SYNTAXEDIT_REGULAR;
    m_strStyleName = LoadText(nCurrent);
    SelectOrShow(m_cmbStyle, m_strStyleName);
}

void CKLVSyntaxEditPropertiesPageFont::FillSizes() {
    m_cmbSize.ResetContent();
    LOGFONT lf;
    GetPageLogFont(lf);
    const int nPixelsPerInch = PixelsPerInch();
    auto addRaster = [this, nPixelsPerInch](const ENUMLOGFONTEXA&, const TEXTMETRICA& tm, DWORD dwType) {
        if (dwType & TRUETYPE_FONTTYPE) return;
        CString strSize;
        strSize.Format("%i", ::MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, nPixelsPerInch));
        if (m_cmbSize.FindStringExact(-1, strSize) < 0) m_cmbSize.AddString(strSize);
    };
    EnumFonts(lf.lfFaceName, DEFAULT_CHARSET, 0, addRaster);
    if (m_cmbSize.GetCount() == 0)
        for (const char* size : kStandardSizes) m_cmbSize.AddString(size);
    m_strSize.Format("%i", -::MulDiv(lf.lfHeight, 72, nPixelsPerInch));
    SelectOrShow(m_cmbSize, m_strSize);
}

void CKLVSyntaxEditPropertiesPageFont::FillScripts() {
    m_cmbScript.ResetContent();
    LOGFONT lf;
    GetPageLogFont(lf);
    auto addScript = [this](const ENUMLOGFONTEXA& elf, const TEXTMETRICA&, DWORD) {
        const LPCSTR lpszScript = reinterpret_cast<LPCSTR>(elf.elfScript);
        if (m_cmbScript.FindStringExact(-1, lpszScript) >= 0) return;
        const int nIndex = m_cmbScript.AddString(lpszScript);
        if (nIndex >= 0) m_cmbScript.SetItemData(nIndex, elf.elfLogFont.lfCharSet);
    };
    EnumFonts(lf.lfFaceName, DEFAULT_CHARSET, 0, addScript);
    m_nCharSet = lf.lfCharSet;
    int nSel = 0;
    for (int i = 0; i < m_cmbScript.GetCount(); ++i)
        if (m_cmbScript.GetItemData(i) == m_nCharSet) nSel = i;
    m_cmbScript.SetCurSel(nSel);
}

void CKLVSyntaxEditPropertiesPageFont::SetPageFont(const LOGFONT& lf) {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    SetSampleFont(&m_font);
}

void CKLVSyntaxEditPropertiesPageFont::MarkModified() {
    SetModified();
    m_bModified = 1;
}

void CKLVSyntaxEditPropertiesPageFont::OnFaceChange() {
    const CString strFace = SelectedText(m_cmbFace);
    if (strFace.IsEmpty()) return;
    LOGFONT lf;
    GetPageLogFont(lf);
    lstrcpynA(lf.lfFaceName, strFace, LF_FACESIZE);
    m_strFaceName = strFace;
    SetPageFont(lf);
    FillSizes();
    FillScripts();
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageFont::OnStyleChange() {
    m_strStyleName = SelectedText(m_cmbStyle);
    LOGFONT lf;
    GetPageLogFont(lf);
    lf.lfItalic = m_strStyleName.Find(LoadText(KLV_IDS_SYNTAXEDIT_ITALIC)) >= 0;
    lf.lfWeight = m_strStyleName.Find(LoadText(KLV_IDS_SYNTAXEDIT_BOLD)) >= 0 ? FW_BOLD : FW_NORMAL;
    SetPageFont(lf);
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageFont::OnSizeChange() {
    m_strSize = SelectedText(m_cmbSize);
    LOGFONT lf;
    GetPageLogFont(lf);
    lf.lfHeight = -::MulDiv(std::atoi(m_strSize), PixelsPerInch(), 72);
    SetPageFont(lf);
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageFont::OnScriptChange() {
    const int nSel = m_cmbScript.GetCurSel();
    if (nSel < 0) return;
    m_nCharSet = static_cast<BYTE>(m_cmbScript.GetItemData(nSel));
    LOGFONT lf;
    GetPageLogFont(lf);
    lf.lfCharSet = m_nCharSet;
    SetPageFont(lf);
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageFont::OnColorChange() {
    UpdateData(TRUE);
    UpdateSamples();
    MarkModified();
}

void CKLVSyntaxEditPropertiesPageFont::OnChooseColor(UINT nID) {
    if (!ChooseColorFor(nID)) return;
    UpdateData(TRUE);
    UpdateSamples();
    MarkModified();
}

BOOL CKLVSyntaxEditPropertiesPageFont::OnApply() {
    const BOOL bResult = CKLVSyntaxEditPropertiesPageColors::OnApply();
    if (m_bModified && m_pView && ::IsWindow(m_pView->m_hWnd)) {
        LOGFONT lf;
        GetPageLogFont(lf);
        // Saved here: the view only shows it, and the next start reads it from the profile.
        CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
        pPaint->SetFont(lf, TRUE);
        m_pView->SetFont(&lf);
        pPaint->SetTextColor(m_clrText, TRUE);
        pPaint->SetBackColor(m_clrBack, TRUE);
        pPaint->SetHiliteTextColor(m_clrSelText, TRUE);
        pPaint->SetHiliteBackColor(m_clrSelBack, TRUE);
        m_pView->GetEditCtrl()->Invalidate(FALSE);
    }
    m_bModified = 0;
    return bResult;
}
