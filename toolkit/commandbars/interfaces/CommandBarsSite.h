// A window that carries command bars, as the widgets above the bars find them: through the window
// they sit in, without knowing its frame class.
#pragma once

class CKLVCommandBars;
class CWnd;

class CKLVCommandBarsSite {
public:
    virtual CKLVCommandBars* GetCommandBars() const = 0;

    // The command bars the window carries; null when it carries none.
    static CKLVCommandBars* CommandBarsOf(CWnd* pWnd) {
        const CKLVCommandBarsSite* pSite = SiteOf(pWnd);
        return pSite ? pSite->GetCommandBars() : nullptr;
    }

protected:
    ~CKLVCommandBarsSite() = default;

private:
    static const CKLVCommandBarsSite* SiteOf(CWnd* pWnd) { return dynamic_cast<const CKLVCommandBarsSite*>(pWnd); }
};
