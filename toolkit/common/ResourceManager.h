// The one place toolkit windows load their resources from: a separate resource module when one
// is set, else (and whenever the module lacks a resource) the program's current resources.
#pragma once

#include "classlib/String.h"

class CMenu;
class CBitmap;
class CToolBar;

class CKLVResourceManager {
public:
    CKLVResourceManager() noexcept = default;
    virtual ~CKLVResourceManager() { Close(); }
    CKLVResourceManager(const CKLVResourceManager&) = delete;
    CKLVResourceManager& operator=(const CKLVResourceManager&) = delete;

    virtual BOOL LoadString(CString* pString, UINT nIDResource);
    virtual BOOL LoadMenu(CMenu* pMenu, UINT nIDResource);
    // The tool bar's ids and bitmap: from the resource module when one is set, else from the
    // program's resources.
    virtual BOOL LoadToolBar(CToolBar* pToolBar, UINT nIDResource);
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nIDResource);
    virtual HCURSOR LoadCursor(UINT nIDResource);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nIDResource);
    virtual HGLOBAL LoadDialogTemplate(LPCTSTR lpszTemplateName);
    // The bytes of an HTML resource as text, up to its first zero.
    virtual BOOL LoadHTML(CString* pText, UINT nIDResource);
    virtual HICON LoadIcon(UINT nIDResource, int cx, int cy);
    virtual HICON LoadIcon(LPCTSTR lpszResourceName, int cx, int cy);
    // The image of an icon group that best fits cx by cy.
    virtual HICON CreateIconFromResource(HMODULE hModule, LPCTSTR lpszResourceName, int cx, int cy);
    virtual void Close();
    virtual WORD GetResourcesLangID() { return m_wResourcesLanguage; }
    // The language of the resources: the first one found other than US English and neutral.
    virtual WORD UpdateResourcesLangID();

    static WORD FindResourcesLangID(HMODULE hModule);

protected:
    HMODULE m_hResourceInstance = nullptr;   // a module this manager loaded; freed by Close
    WORD m_wResourcesLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
};

CKLVResourceManager* KLVResourceManager();

// The separate resource module (null: none, the program's own resources serve).
HMODULE KLVGetResourceModule();
void KLVSetResourceModule(HMODULE hModule);

// While it lives, the class library's current resources are the resource module's.
class CKLVResourceSwitch {
public:
    CKLVResourceSwitch();
    ~CKLVResourceSwitch();
    CKLVResourceSwitch(const CKLVResourceSwitch&) = delete;
    CKLVResourceSwitch& operator=(const CKLVResourceSwitch&) = delete;

private:
    BOOL m_bSwitched = FALSE;
    HINSTANCE m_hSaved = nullptr;
};
