#include "classlib/Ole.h"

#include "classlib/View.h"

namespace {

// What the target chose, within what the source allows: a copy or move the source does not
// allow becomes the other one when that is allowed.
DROPEFFECT FilterDropEffect(DROPEFFECT dropEffect, DWORD dwAllowed) {
    if (dropEffect & dwAllowed) return dropEffect & (dwAllowed | DROPEFFECT_SCROLL);
    if (dropEffect == DROPEFFECT_COPY && (dwAllowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    if (dropEffect == DROPEFFECT_MOVE && (dwAllowed & DROPEFFECT_COPY)) return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

}  // namespace

// The IDropTarget OLE calls; it lives as long as its COleDropTarget, which revokes it first.
class COleDropTarget::CDropTargetImpl : public IDropTarget {
public:
    explicit CDropTargetImpl(COleDropTarget* pOwner) : m_pOwner(pOwner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *ppv = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        Forget();
        if (!pDataObj || !pdwEffect) return E_INVALIDARG;
        m_dataObject.Attach(pDataObj, TRUE);
        pDataObj->AddRef();
        CWnd* pWnd = Window();
        *pdwEffect = FilterDropEffect(m_pOwner->OnDragEnter(pWnd, &m_dataObject, grfKeyState, ClientPoint(pt)), *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        if (!pdwEffect) return E_INVALIDARG;
        *pdwEffect = FilterDropEffect(m_pOwner->OnDragOver(Window(), &m_dataObject, grfKeyState, ClientPoint(pt)), *pdwEffect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        m_pOwner->OnDragLeave(Window());
        Forget();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override {
        if (!pDataObj || !pdwEffect) return E_INVALIDARG;
        m_dataObject.Attach(pDataObj, TRUE);
        pDataObj->AddRef();
        CWnd* pWnd = Window();
        const CPoint point = ClientPoint(pt);
        // The effect is the one the position and keys give at the moment of the drop.
        DROPEFFECT dropEffect = FilterDropEffect(m_pOwner->OnDragOver(pWnd, &m_dataObject, grfKeyState, point), *pdwEffect);
        if (dropEffect == DROPEFFECT_NONE) m_pOwner->OnDragLeave(pWnd);
        else if (!m_pOwner->OnDrop(pWnd, &m_dataObject, dropEffect, point)) dropEffect = DROPEFFECT_NONE;
        *pdwEffect = dropEffect;
        Forget();
        return S_OK;
    }

    void Forget() { m_dataObject.Release(); }

private:
    CWnd* Window() const { return CWnd::FromHandle(m_pOwner->m_hWnd); }
    CPoint ClientPoint(POINTL pt) const {
        POINT point = {pt.x, pt.y};
        ::ScreenToClient(m_pOwner->m_hWnd, &point);
        return CPoint(point);
    }

    COleDropTarget* m_pOwner;
    COleDataObject m_dataObject;   // what is being dragged over the window
};

COleDropTarget::COleDropTarget() : m_pImpl(new CDropTargetImpl(this)) {}

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (!pWnd || !pWnd->m_hWnd || m_hWnd) return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, m_pImpl.get()))) return FALSE;
    m_hWnd = pWnd->m_hWnd;
    pWnd->m_pDropTarget = this;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (!m_hWnd) return;
    ::RevokeDragDrop(m_hWnd);
    if (CWnd* pWnd = CWnd::FromHandlePermanent(m_hWnd)) {
        if (pWnd->m_pDropTarget == this) pWnd->m_pDropTarget = nullptr;
    }
    m_pImpl->Forget();
    m_hWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView* pView = DYNAMIC_DOWNCAST(CView, pWnd);
    return pView ? pView->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView* pView = DYNAMIC_DOWNCAST(CView, pWnd);
    return pView ? pView->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) {
    if (CView* pView = DYNAMIC_DOWNCAST(CView, pWnd)) pView->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    CView* pView = DYNAMIC_DOWNCAST(CView, pWnd);
    return pView && pView->OnDrop(pDataObject, dropEffect, point);
}
