// The process-wide theme manager of the dialogs' tab controls: style factories found by their
// run-time class, each owning the style of the current theme and knowing the clients that draw
// with it. A theme change makes every factory's style anew and tells its clients.
#pragma once

#include "classlib/Map.h"
#include "classlib/Object.h"

#include <memory>
#include <vector>

class CKLThemeManagerStyleFactory;

// What a factory makes for a theme number.
class CKLThemeManagerStyle {
public:
    virtual ~CKLThemeManagerStyle() = default;
    virtual void RefreshMetrics() {}
};

// A user of a factory's style; it may carry a style of its own that wins over the factory's.
class CKLThemeManagerStyleHost {
public:
    CKLThemeManagerStyleHost() = default;
    virtual ~CKLThemeManagerStyleHost();
    CKLThemeManagerStyleHost(const CKLThemeManagerStyleHost&) = delete;
    CKLThemeManagerStyleHost& operator=(const CKLThemeManagerStyleHost&) = delete;

    // Leaves the old factory and joins the one of the class (made and registered when missing).
    void SetFactory(CRuntimeClass* pFactoryClass);
    CKLThemeManagerStyleFactory* GetFactory() const { return m_pFactory; }
    // The own style, else the factory's (made for the current theme on first use).
    CKLThemeManagerStyle* GetTheme();
    // Replaces the own style (null: the factory's serves again).
    void SetTheme(CKLThemeManagerStyle* pTheme);
    // The factory's style was replaced.
    virtual void OnThemeChanged() {}

private:
    friend class CKLThemeManagerStyleFactory;
    CKLThemeManagerStyleFactory* m_pFactory = nullptr;
    std::unique_ptr<CKLThemeManagerStyle> m_pTheme;
    CKLThemeManagerStyleHost* m_pNextClient = nullptr;
};

class CKLThemeManagerStyleFactory : public CObject {
    DECLARE_DYNCREATE(CKLThemeManagerStyleFactory)
public:
    CKLThemeManagerStyleFactory();      // registers in the manager's list
    ~CKLThemeManagerStyleFactory() override;   // leaves it; its clients lose it

    // A new style for the theme number; the base makes a plain style.
    virtual CKLThemeManagerStyle* CreateTheme(int nTheme);
    CKLThemeManagerStyle* GetTheme();
    // Makes the style of the theme anew and tells every client.
    void ChangeTheme(int nTheme);
    void AddClient(CKLThemeManagerStyleHost* pClient);
    void RemoveClient(CKLThemeManagerStyleHost* pClient);

private:
    std::unique_ptr<CKLThemeManagerStyle> m_pTheme;
    CKLThemeManagerStyleHost* m_pFirstClient = nullptr;
};

class CKLThemeManager {
public:
    CKLThemeManager();
    ~CKLThemeManager();
    CKLThemeManager(const CKLThemeManager&) = delete;
    CKLThemeManager& operator=(const CKLThemeManager&) = delete;

    // Nothing happens for the theme already set; else the toolkit colours are refreshed and every
    // factory makes its style anew.
    void SetTheme(int nTheme);
    int GetTheme() const { return m_nTheme; }
    // The factory of the class, made on first request.
    CKLThemeManagerStyleFactory* GetFactory(CRuntimeClass* pFactoryClass);
    int GetFactoryCount() const { return static_cast<int>(m_arrFactories.size()); }

private:
    friend class CKLThemeManagerStyleFactory;
    CMap<CRuntimeClass*, CRuntimeClass*, CKLThemeManagerStyleFactory*, CKLThemeManagerStyleFactory*> m_mapFactories;
    int m_nTheme = 0;
    std::vector<CKLThemeManagerStyleFactory*> m_arrFactories;   // the map owns them
};

CKLThemeManager* KLThemeManager();
