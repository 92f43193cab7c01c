// Property exchange: one routine per object saves or loads its state, depending on the
// direction of the exchange it is handed. Properties are named and have defaults, are grouped
// in sections, lists of sections are walked with an enumerator, and a schema number lets an
// owner skip keys that older data does not hold.
#pragma once

#include "classlib/Archive.h"
#include "classlib/CmdTarget.h"
#include "classlib/Collection.h"

#include <memory>

class CKLVPropExchangeEnumerator;

// The base: every operation that can be expressed through the typed ExchangeProp, as a keyed
// back-end would inherit it. Reference counted: a new exchange holds one reference and whoever
// opened a section releases it (InternalRelease) when done.
class CKLVPropExchange : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVPropExchange)
public:
    enum : UINT { nCurrentSchema = 23, nSchemaWithoutMagic = 17 };
    // The toolkit's own type codes, beside the OLE variant types.
    enum : VARTYPE { VT_KLV_RECT = 100, VT_KLV_SIZE = 101 };

    CKLVPropExchange() = default;

    // pvDefault is an LPCTSTR for VT_LPSTR and the address of a value of the field's type
    // otherwise; null means no default.
    virtual BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault) = 0;
    // A buffer allocated here (for a null *ppData) comes from malloc and is the caller's to free.
    // On load *pcbData becomes the number of bytes loaded.
    virtual BOOL ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pcbData);
    virtual BOOL ExchangeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pClassRequested);
    virtual BOOL ExchangeObject(CObject*& pObject, CRuntimeClass* pClassRequested);
    virtual CArchive* OpenArchive(LPCTSTR pszPropName);
    virtual void CloseArchive(LPCTSTR pszPropName, CArchive* pArchive);
    virtual CKLVPropExchange* OpenSection(LPCTSTR pszSection) = 0;
    virtual void SetClearSection() { m_bClearSection = TRUE; }
    virtual void WriteCount(DWORD dwCount);
    virtual DWORD ReadCount();
    virtual void Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount);
    virtual UINT Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount);
    virtual BOOL CanOmitDefaults() const { return TRUE; }
    virtual BOOL IsSequentialStream() const { return FALSE; }
    virtual BOOL PrepareExchange() {
        m_bInitialized = TRUE;
        return TRUE;
    }
    virtual CKLVPropExchangeEnumerator* OpenEnumerator(LPCTSTR pszSection);
    virtual void ExchangeSchemaVersion();

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    UINT GetSchema() const { return m_dwSchema; }

    void* m_pContext = nullptr;   // the owner's; copied into every section, never read here
    BOOL m_bLoading = FALSE;
    UINT m_dwSchema = nCurrentSchema;
    BOOL m_bChildSection = FALSE;
    BOOL m_bClearSection = FALSE;
    BOOL m_bInitialized = FALSE;

protected:
    // Makes a section share this exchange's context, schema and clear-section flag.
    void InitSection(CKLVPropExchange* pSection) const;
};

// Holds one reference to a section and releases it at the end of the scope.
struct CKLVPropExchangeReleaser {
    void operator()(CKLVPropExchange* pPX) const { pPX->InternalRelease(); }
};
using CKLVPropExchangeSection = std::unique_ptr<CKLVPropExchange, CKLVPropExchangeReleaser>;

// Walks the numbered sections Base0, Base1, ... of a list.
class CKLVPropExchangeEnumerator {
public:
    CKLVPropExchangeEnumerator(CKLVPropExchange* pContainer, LPCTSTR pszSection);
    virtual ~CKLVPropExchangeEnumerator() = default;
    CKLVPropExchangeEnumerator(const CKLVPropExchangeEnumerator&) = delete;
    CKLVPropExchangeEnumerator& operator=(const CKLVPropExchangeEnumerator&) = delete;

    // Exchanges the element count (compact: through WriteCount/ReadCount, else as "Count");
    // null when there are no elements.
    virtual POSITION GetPosition(DWORD dwCount = 0, BOOL bCompactMode = TRUE);
    // The next section (one reference, the caller releases it); pos becomes null after the last.
    virtual CKLVPropExchange* GetNext(POSITION& pos);

    DWORD GetCount() const { return m_nCount; }

protected:
    CKLVPropExchange* m_pContainer;
    CString m_strSectionName;
    DWORD m_nCount = 0;
};

// Typed exchange functions; each hands ExchangeProp a fixed type code.
BOOL PX_Byte(CKLVPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault);
BOOL PX_Short(CKLVPropExchange* pPX, LPCTSTR pszPropName, short& sValue, short sDefault);
BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, long& lValue, long lDefault);
BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, long& lValue);
BOOL PX_Long(CKLVPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault);
BOOL PX_Bool(CKLVPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL PX_String(CKLVPropExchange* pPX, LPCTSTR pszPropName, CString& strValue, LPCTSTR lpszDefault);
BOOL PX_String(CKLVPropExchange* pPX, LPCTSTR pszPropName, CString& strValue);
BOOL PX_Size(CKLVPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, SIZE szDefault);
BOOL PX_Rect(CKLVPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue, RECT rcDefault);

// The object's Serialize on the archive OpenArchive gives for the name; an archive or OLE
// exception thrown there makes the result FALSE.
BOOL PX_Serialize(CKLVPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject);

// The first run-time class record of the module with exactly this name; null when none.
CRuntimeClass* FindRuntimeClass(LPCSTR lpszClassName);
