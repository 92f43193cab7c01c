#include "toolkit/tabs/ThemeManager.h"

#include "toolkit/common/ColorManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CKLThemeManagerStyleFactory, CObject)

CKLThemeManager* KLThemeManager() {
    static CKLThemeManager s_manager;
    return &s_manager;
}

// ---------------------------------------------------------------------------------------------

CKLThemeManagerStyleHost::~CKLThemeManagerStyleHost() {
    if (m_pFactory) m_pFactory->RemoveClient(this);
}

void CKLThemeManagerStyleHost::SetFactory(CRuntimeClass* pFactoryClass) {
    if (m_pFactory) m_pFactory->RemoveClient(this);
    m_pFactory = pFactoryClass ? KLThemeManager()->GetFactory(pFactoryClass) : nullptr;
    if (m_pFactory) m_pFactory->AddClient(this);
}

CKLThemeManagerStyle* CKLThemeManagerStyleHost::GetTheme() {
    if (m_pTheme) return m_pTheme.get();
    return m_pFactory ? m_pFactory->GetTheme() : nullptr;
}

void CKLThemeManagerStyleHost::SetTheme(CKLThemeManagerStyle* pTheme) {
    m_pTheme.reset(pTheme);
    if (m_pTheme) m_pTheme->RefreshMetrics();
}

// ---------------------------------------------------------------------------------------------

CKLThemeManagerStyleFactory::CKLThemeManagerStyleFactory() { KLThemeManager()->m_arrFactories.push_back(this); }

CKLThemeManagerStyleFactory::~CKLThemeManagerStyleFactory() {
    auto& factories = KLThemeManager()->m_arrFactories;
    factories.erase(std::remove(factories.begin(), factories.end(), this), factories.end());
    for (CKLThemeManagerStyleHost* pClient = m_pFirstClient; pClient;) {
        CKLThemeManagerStyleHost* pNext = pClient->m_pNextClient;
        pClient->m_pFactory = nullptr;
        pClient->m_pNextClient = nullptr;
        pClient = pNext;
    }
}

CKLThemeManagerStyle* CKLThemeManagerStyleFactory::CreateTheme(int) { return new CKLThemeManagerStyle; }

CKLThemeManagerStyle* CKLThemeManagerStyleFactory::GetTheme() {
    if (!m_pTheme) {
        m_pTheme.reset(CreateTheme(KLThemeManager()->GetTheme()));
        if (m_pTheme) m_pTheme->RefreshMetrics();
    }
    return m_pTheme.get();
}

void CKLThemeManagerStyleFactory::ChangeTheme(int nTheme) {
    std::unique_ptr<CKLThemeManagerStyle> pNew(CreateTheme(nTheme));
    m_pTheme = std::move(pNew);
    if (m_pTheme) m_pTheme->RefreshMetrics();
    for (CKLThemeManagerStyleHost* pClient = m_pFirstClient; pClient; pClient = pClient->m_pNextClient)
        pClient->OnThemeChanged();
}

void CKLThemeManagerStyleFactory::AddClient(CKLThemeManagerStyleHost* pClient) {
    pClient->m_pNextClient = m_pFirstClient;
    m_pFirstClient = pClient;
}

void CKLThemeManagerStyleFactory::RemoveClient(CKLThemeManagerStyleHost* pClient) {
    for (CKLThemeManagerStyleHost** ppLink = &m_pFirstClient; *ppLink; ppLink = &(*ppLink)->m_pNextClient) {
        if (*ppLink != pClient) continue;
        *ppLink = pClient->m_pNextClient;
        pClient->m_pNextClient = nullptr;
        return;
    }
}

// ---------------------------------------------------------------------------------------------

CKLThemeManager::CKLThemeManager() { m_mapFactories.InitHashTable(10); }

CKLThemeManager::~CKLThemeManager() {
    POSITION pos = m_mapFactories.GetStartPosition();
    std::vector<CKLThemeManagerStyleFactory*> factories;
    while (pos) {
        CRuntimeClass* pClass = nullptr;
        CKLThemeManagerStyleFactory* pFactory = nullptr;
        m_mapFactories.GetNextAssoc(pos, pClass, pFactory);
        factories.push_back(pFactory);
    }
    m_mapFactories.RemoveAll();
    for (CKLThemeManagerStyleFactory* pFactory : factories) delete pFactory;
}

CKLThemeManagerStyleFactory* CKLThemeManager::GetFactory(CRuntimeClass* pFactoryClass) {
    CKLThemeManagerStyleFactory* pFactory = nullptr;
    if (m_mapFactories.Lookup(pFactoryClass, pFactory)) return pFactory;
    CObject* pObject = pFactoryClass->CreateObject();
    pFactory = DYNAMIC_DOWNCAST(CKLThemeManagerStyleFactory, pObject);
    if (!pFactory) {
        delete pObject;
        return nullptr;
    }
    m_mapFactories.SetAt(pFactoryClass, pFactory);
    return pFactory;
}

void CKLThemeManager::SetTheme(int nTheme) {
    if (nTheme == m_nTheme) return;
    m_nTheme = nTheme;
    RefreshColors();
    const std::vector<CKLThemeManagerStyleFactory*> factories = m_arrFactories;
    for (CKLThemeManagerStyleFactory* pFactory : factories) pFactory->ChangeTheme(nTheme);
}
