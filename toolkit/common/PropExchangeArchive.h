// Property exchange over a class-library archive: a positional stream in which names and
// defaults are ignored and values follow one another in call order.
#pragma once

#include "toolkit/common/PropExchange.h"

class CKLVPropExchangeArchive : public CKLVPropExchange {
    DECLARE_DYNAMIC(CKLVPropExchangeArchive)
public:
    // Written before the schema number by ExchangeSchemaVersion.
    static constexpr DWORD dwSchemaMagic = 0x0FF0ADBF;

    // The archive stays the caller's.
    explicit CKLVPropExchangeArchive(CArchive& ar);

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault) override;
    BOOL ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pcbData) override;
    BOOL ExchangeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pClassRequested) override;
    BOOL ExchangeObject(CObject*& pObject, CRuntimeClass* pClassRequested) override;
    CArchive* OpenArchive(LPCTSTR) override { return &m_ar; }
    void CloseArchive(LPCTSTR, CArchive*) override {}
    CKLVPropExchange* OpenSection(LPCTSTR pszSection) override;
    void WriteCount(DWORD dwCount) override;
    DWORD ReadCount() override;
    void Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount) override;
    UINT Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount) override;
    BOOL CanOmitDefaults() const override { return FALSE; }
    BOOL IsSequentialStream() const override { return TRUE; }
    void ExchangeSchemaVersion() override;

protected:
    void StoreValue(VARTYPE vtProp, const void* pvProp);
    void LoadValue(VARTYPE vtProp, void* pvProp);

    CArchive& m_ar;
};
