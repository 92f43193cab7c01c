#include "toolkit/common/ResourceImages.h"

#include "classlib/WinApp.h"

#include <cstdio>

namespace {

const char szDefaultIniName[] = "OFFICE2007BLUE_INI";
const char szIniType[] = "TEXTFILE";
const UINT nImageBuckets = 199;

// The lines of the INI text as read here: converted to the ANSI code page, leading white
// space and comments dropped, upper-cased. A last line without a carriage return is not read.
template <class FN>
void ForEachIniLine(LPCWSTR pStart, LPCWSTR pEnd, FN fn) {
    for (LPCWSTR pLine = pStart; pLine && pLine < pEnd;) {
        LPCWSTR pCR = pLine;
        while (pCR < pEnd && *pCR != L'\r') ++pCR;
        if (pCR == pEnd) return;
        CString strLine;
        const int nWide = static_cast<int>(pCR - pLine);
        const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pLine, nWide, nullptr, 0, nullptr, nullptr);
        if (nBytes > 0) {
            ::WideCharToMultiByte(CP_ACP, 0, pLine, nWide, strLine.GetBufferSetLength(nBytes), nBytes, nullptr, nullptr);
        }
        strLine.TrimLeft();
        const int nComment = strLine.Find(';');
        if (nComment >= 0) strLine = strLine.Left(nComment);
        strLine.MakeUpper();
        if (!fn(strLine)) return;
        pLine = pCR + 1;
        if (pLine < pEnd && *pLine == L'\n') ++pLine;
    }
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR lpszName, LONG_PTR lParam) {
    *reinterpret_cast<LPSTR*>(lParam) = lpszName;
    return FALSE;
}

HRSRC FindFirstIniResource(HMODULE hModule) {
    LPSTR lpszName = nullptr;
    ::EnumResourceNamesA(hModule, szIniType, TakeFirstName, reinterpret_cast<LONG_PTR>(&lpszName));
    return lpszName ? ::FindResourceA(hModule, lpszName, szIniType) : nullptr;
}

}  // namespace

CKLVResourceImages::CKLVResourceImages() {
    m_mapImages.InitHashTable(nImageBuckets, FALSE);
    SetResourceModule(AfxGetInstanceHandle(), nullptr, FALSE);
}

CKLVResourceImages::~CKLVResourceImages() {
    RemoveAll();
    if (m_bOwnsModule && m_hModule) ::FreeLibrary(m_hModule);
}

CKLVResourceImages* KLVResourceImages() {
    static CKLVResourceImages s_images;
    return &s_images;
}

BOOL CKLVResourceImages::SetResourceModule(HMODULE hModule, LPCTSTR lpszIniFileName, BOOL bOwnsModule) {
    if (m_bOwnsModule && m_hModule) ::FreeLibrary(m_hModule);
    const BOOL bNamed = lpszIniFileName && *lpszIniFileName;
    m_strIniFileName = bNamed ? lpszIniFileName : szDefaultIniName;
    m_strIniFileName.Replace('.', '_');
    m_hModule = hModule;
    m_bOwnsModule = bOwnsModule;
    m_pIniStart = m_pIniEnd = nullptr;
    RemoveAll();

    HRSRC hResource = hModule ? ::FindResourceA(hModule, m_strIniFileName, szIniType) : nullptr;
    if (!hResource && !bNamed && hModule) hResource = FindFirstIniResource(hModule);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hModule, hResource) : nullptr;
    auto pText = static_cast<LPCWSTR>(hGlobal ? ::LockResource(hGlobal) : nullptr);
    if (!pText) return FALSE;
    m_pIniStart = pText;
    m_pIniEnd = pText + ::SizeofResource(hModule, hResource) / sizeof(WCHAR);
    return TRUE;
}

CString CKLVResourceImages::GetIniValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const {
    CString strSection = lpszSection, strKey = lpszKey, strValue;
    strSection.MakeUpper();
    strKey.MakeUpper();
    bool bInSection = false;
    ForEachIniLine(m_pIniStart, m_pIniEnd, [&](const CString& strLine) {
        if (!strLine.IsEmpty() && strLine[0] == '[') {
            if (bInSection) return false;
            bInSection = strLine.GetLength() >= 2 && strLine.Mid(1, strLine.GetLength() - 2) == strSection;
            return true;
        }
        const int nEquals = strLine.Find('=');
        if (!bInSection || nEquals < 0) return true;
        CString strLineKey = strLine.Left(nEquals);
        if (strLineKey.TrimRight() != strKey) return true;
        strValue = strLine.Mid(nEquals + 1);
        strValue.Trim();
        return false;
    });
    return strValue;
}

COLORREF CKLVResourceImages::LookupColor(LPCTSTR lpszSection, LPCTSTR lpszKey) const {
    const CString strValue = GetIniValue(lpszSection, lpszKey);
    if (strValue.IsEmpty()) return COLORREF(-1);
    int nRed = 0, nGreen = 0, nBlue = 0;
    std::sscanf(strValue, "%i %i %i", &nRed, &nGreen, &nBlue);
    return RGB(nRed & 0xFF, nGreen & 0xFF, nBlue & 0xFF);
}

CKLVResourceImage* CKLVResourceImages::GetImage(LPCTSTR lpszImageFile) {
    CKLVCriticalSectionLock lock(&m_cs);
    if (!m_hModule || !lpszImageFile || !*lpszImageFile) return nullptr;
    void* pImage = nullptr;
    if (m_mapImages.Lookup(lpszImageFile, pImage)) return static_cast<CKLVResourceImage*>(pImage);
    CKLVResourceImage* pNew = CreateImage(lpszImageFile);
    if (pNew) {
        pNew->m_pLock = &m_cs;
        m_mapImages.SetAt(lpszImageFile, pNew);
    }
    return pNew;
}

CKLVResourceImage* CKLVResourceImages::CreateImage(LPCTSTR lpszImageFile) {
    CString strResource = GetIniValue("Images", lpszImageFile);
    if (strResource.IsEmpty()) strResource = lpszImageFile;
    strResource.Replace('.', '_');
    strResource.Replace('\\', '_');
    auto* pImage = new CKLVResourceImage;
    if (pImage->LoadBitmapResource(m_hModule, strResource)) return pImage;
    pImage->InternalRelease();
    return nullptr;
}

void CKLVResourceImages::RemoveAll() {
    CKLVCriticalSectionLock lock(&m_cs);
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos) {
        CString strName;
        void* pImage;
        m_mapImages.GetNextAssoc(pos, strName, pImage);
        static_cast<CKLVResourceImage*>(pImage)->InternalRelease();
    }
    m_mapImages.RemoveAll();
}
