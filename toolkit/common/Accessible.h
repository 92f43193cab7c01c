// The base of every accessible toolkit object: an IAccessible part whose methods land in the
// object's own overridable operations, with the reference count and interface look-up of the
// class-library command target that owns the object.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/String.h"
#include "toolkit/common/LoadedModule.h"

#include <oleacc.h>

// The overrides by which an accessible object says where it stands among its parent's children,
// what it is and where it is drawn; each class that answers for an element declares them so.
#define KLV_DECLARE_ACCESSIBLE_ELEMENT()                                                               \
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;                                    \
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;                                    \
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;                    \
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;                               \
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;                           \
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;                         \
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;

// A command target that is its own accessible element: it counts the references and hands out
// the IAccessible part from GetInterface.
#define KLV_DECLARE_ACCESSIBLE_TARGET()                          \
    CCmdTarget* GetAccessibleTarget() override { return this; } \
    LPUNKNOWN GetInterface(const IID& iid) override;            \
    KLV_DECLARE_ACCESSIBLE_ELEMENT()

class CKLVAccessible {
public:
    CKLVAccessible();
    virtual ~CKLVAccessible() = default;
    CKLVAccessible(const CKLVAccessible&) = delete;
    CKLVAccessible& operator=(const CKLVAccessible&) = delete;

    virtual HRESULT GetAccessibleParent(IDispatch**) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleChildCount(LONG*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleChild(VARIANT, IDispatch**) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleName(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleValue(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleDescription(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleRole(VARIANT, VARIANT*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleState(VARIANT, VARIANT*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleHelp(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleHelpTopic(BSTR*, VARIANT, LONG*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleKeyboardShortcut(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT GetAccessibleFocus(VARIANT*) { return S_FALSE; }
    virtual HRESULT GetAccessibleSelection(VARIANT*) { return S_FALSE; }
    virtual HRESULT GetAccessibleDefaultAction(VARIANT, BSTR*) { return E_NOTIMPL; }
    virtual HRESULT AccessibleSelect(LONG, VARIANT) { return E_NOTIMPL; }
    virtual HRESULT AccessibleLocation(LONG*, LONG*, LONG*, LONG*, VARIANT) { return E_NOTIMPL; }
    virtual HRESULT AccessibleNavigate(LONG, VARIANT, VARIANT*) { return E_NOTIMPL; }
    virtual HRESULT AccessibleHitTest(LONG, LONG, VARIANT*) { return E_NOTIMPL; }
    virtual HRESULT AccessibleDoDefaultAction(VARIANT) { return E_NOTIMPL; }
    virtual HRESULT PutAccessibleName(VARIANT, BSTR) { return E_NOTIMPL; }
    virtual HRESULT PutAccessibleValue(VARIANT, BSTR) { return E_NOTIMPL; }
    // The command target that counts the references and answers QueryInterface.
    virtual CCmdTarget* GetAccessibleTarget() { return nullptr; }

    // The IAccessible part; accessible classes hand it out from their GetInterface.
    IAccessible* GetAccessibleInterface() { return &m_xAccessible; }

    // Win events and the bridge to clients; E_FAIL where the system lacks the function.
    void NotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild);
    HRESULT AccessibleObjectFromWindow(HWND hWnd, DWORD dwObjectID, REFIID riid, void** ppvObject);
    LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);

    // The child a VARIANT names: 0 the object itself, 1 and up its children, -1 nothing usable.
    static long ChildIdFromVariant(const VARIANT* pVar);
    // The text as a new BSTR, and a VARIANT holding a 32-bit value, for the answers above.
    static BSTR AllocString(const CString& str);
    static void SetLong(VARIANT* pVar, LONG nValue);

private:
    template <class T>
    T GetOleaccProc(LPCSTR lpszName);

    class XAccessible : public IAccessible {
    public:
        explicit XAccessible(CKLVAccessible* pOwner) : m_pOwner(pOwner) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
        STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
        STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
        STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
            return E_NOTIMPL;
        }
        STDMETHOD(get_accParent)(IDispatch** ppdispParent) override;
        STDMETHOD(get_accChildCount)(LONG* pcountChildren) override;
        STDMETHOD(get_accChild)(VARIANT varChild, IDispatch** ppdispChild) override;
        STDMETHOD(get_accName)(VARIANT varChild, BSTR* pszName) override;
        STDMETHOD(get_accValue)(VARIANT varChild, BSTR* pszValue) override;
        STDMETHOD(get_accDescription)(VARIANT varChild, BSTR* pszDescription) override;
        STDMETHOD(get_accRole)(VARIANT varChild, VARIANT* pvarRole) override;
        STDMETHOD(get_accState)(VARIANT varChild, VARIANT* pvarState) override;
        STDMETHOD(get_accHelp)(VARIANT varChild, BSTR* pszHelp) override;
        STDMETHOD(get_accHelpTopic)(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
        STDMETHOD(get_accKeyboardShortcut)(VARIANT varChild, BSTR* pszShortcut) override;
        STDMETHOD(get_accFocus)(VARIANT* pvarChild) override;
        STDMETHOD(get_accSelection)(VARIANT* pvarChildren) override;
        STDMETHOD(get_accDefaultAction)(VARIANT varChild, BSTR* pszAction) override;
        STDMETHOD(accSelect)(LONG flagsSelect, VARIANT varChild) override;
        STDMETHOD(accLocation)(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
        STDMETHOD(accNavigate)(LONG navDir, VARIANT varStart, VARIANT* pvarEnd) override;
        STDMETHOD(accHitTest)(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
        STDMETHOD(accDoDefaultAction)(VARIANT varChild) override;
        STDMETHOD(put_accName)(VARIANT varChild, BSTR szName) override;
        STDMETHOD(put_accValue)(VARIANT varChild, BSTR szValue) override;

    private:
        CKLVAccessible* m_pOwner;
    };

    void(WINAPI* m_pfnNotifyWinEvent)(DWORD, HWND, LONG, LONG) = nullptr;
    LRESULT(WINAPI* m_pfnLresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
    HRESULT(WINAPI* m_pfnAccessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
    CKLVLoadedModule m_user32;
    CKLVLoadedModule m_oleacc;
    XAccessible m_xAccessible{this};
};
