// The enumerator of numbered sections and the typed exchange functions.
#include "toolkit/common/PropExchange.h"

#include "classlib/Exceptions.h"

CKLVPropExchangeEnumerator::CKLVPropExchangeEnumerator(CKLVPropExchange* pContainer, LPCTSTR pszSection)
    : m_pContainer(pContainer), m_strSectionName(pszSection) {}

POSITION CKLVPropExchangeEnumerator::GetPosition(DWORD dwCount, BOOL bCompactMode) {
    m_nCount = dwCount;
    if (!m_pContainer) return nullptr;
    if (!bCompactMode) {
        long lCount = static_cast<long>(m_nCount);
        PX_Long(m_pContainer, "Count", lCount, 0);
        m_nCount = static_cast<DWORD>(lCount);
    } else if (m_pContainer->IsLoading()) {
        m_nCount = m_pContainer->ReadCount();
    } else {
        m_pContainer->WriteCount(m_nCount);
    }
    return m_nCount ? reinterpret_cast<POSITION>(1) : nullptr;
}

CKLVPropExchange* CKLVPropExchangeEnumerator::GetNext(POSITION& pos) {
    const DWORD_PTR nPosition = reinterpret_cast<DWORD_PTR>(pos);  // 1-based
    CString strSection;
    strSection.Format("%s%i", static_cast<LPCSTR>(m_strSectionName), static_cast<int>(nPosition - 1));
    CKLVPropExchange* pSection = m_pContainer->OpenSection(strSection);
    pos = nPosition < m_nCount ? reinterpret_cast<POSITION>(nPosition + 1) : nullptr;
    return pSection;
}

namespace {

template <class T>
BOOL ExchangeTyped(CKLVPropExchange* pPX, LPCTSTR pszPropName, VARTYPE vt, T& value, const T* pDefault) {
    return pPX->ExchangeProp(pszPropName, vt, &value, pDefault);
}

}  // namespace

BOOL PX_Byte(CKLVPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault) {
    return ExchangeTyped(pPX, pszPropName, VT_UI1, nValue, &nDefault);
}

BOOL PX_Short(CKLVPropExchange* pPX, LPCTSTR pszPropName, short& sValue, short sDefault) {
    return ExchangeTyped(pPX, pszPropName, VT_I2, sValue, &sDefault);
}

BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, long& lValue, long lDefault) {
    return ExchangeTyped(pPX, pszPropName, VT_I4, lValue, &lDefault);
}

BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, long& lValue) {
    return ExchangeTyped<long>(pPX, pszPropName, VT_I4, lValue, nullptr);
}

BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault) {
    static_assert(sizeof(int) == sizeof(long), "a long field is 32 bits");
    return ExchangeTyped(pPX, pszPropName, VT_I4, nValue, &nDefault);
}

BOOL PX_Bool(CKLVPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault) {
    return ExchangeTyped(pPX, pszPropName, VT_BOOL, bValue, &bDefault);
}

BOOL PX_String(CKLVPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR lpszDefault) {
    return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue, lpszDefault);
}

BOOL PX_String(CKLVPropExchange* pPX, LPCTSTR pszPropName, CString& strValue) {
    return pPX->ExchangeProp(pszPropName, VT_LPSTR, &strValue, nullptr);
}

BOOL PX_Size(CKLVPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, SIZE szDefault) {
    return ExchangeTyped(pPX, pszPropName, CKLVPropExchange::VT_KLV_SIZE, szValue, &szDefault);
}

BOOL PX_Rect(CKLVPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue, RECT rcDefault) {
    return ExchangeTyped(pPX, pszPropName, CKLVPropExchange::VT_KLV_RECT, rcValue, &rcDefault);
}

BOOL PX_Serialize(CKLVPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject) {
    CArchive* pArchive = pPX->OpenArchive(pszPropName);
    if (!pArchive) return FALSE;
    BOOL bResult = TRUE;
    try {
        pObject->Serialize(*pArchive);
    } catch (COleException* e) {
        e->Delete();
        bResult = FALSE;
    } catch (CArchiveException* e) {
        e->Delete();
        bResult = FALSE;
    } catch (...) {
        pPX->CloseArchive(pszPropName, pArchive);
        throw;
    }
    pPX->CloseArchive(pszPropName, pArchive);
    return bResult;
}

CRuntimeClass* FindRuntimeClass(LPCSTR lpszClassName) { return CRuntimeClass::FromName(lpszClassName); }
