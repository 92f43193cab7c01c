// OLE for the program: start-up (AfxOleInit, in WinApp.h) and drag and drop of data between
// windows: COleDataSource offers data and runs the drag, COleDataObject reads what is offered,
// COleDropTarget makes a window a place to drop on.
#pragma once

#include "classlib/Geometry.h"

#include <ole2.h>

#include <memory>

class CWnd;

typedef DWORD DROPEFFECT;

// Reads the data of an IDataObject: a drop's, or any other given to Attach.
class COleDataObject {
public:
    COleDataObject() noexcept = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // bAutoRelease: Release (and the destructor) releases the interface.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;
    // The data as global memory the caller owns and frees (GlobalFree); null when not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

// Offers data in global memory and runs a drag with it.
class COleDataSource {
public:
    COleDataSource();
    ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Takes over hGlobal (freed with the source); a format offered again replaces the old data.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void Empty();
    // Runs the drag until the data is dropped or the drag cancelled. The button held when it
    // starts drops the data on release, the other button or Escape cancels; with no button held
    // the data drops where the mouse is. The effect the target chose, DROPEFFECT_NONE when
    // nothing was dropped.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    // The offered data as an interface (a new reference).
    LPDATAOBJECT GetDataObject();

private:
    class CDataObjectImpl;
    CDataObjectImpl* m_pImpl;   // reference counted: a target may keep it past the drop
};

// Makes a window a drop target. The notifications go to the virtual functions below, whose
// defaults pass them on to the window when it is a CView; points are in the window's client
// coordinates.
class COleDropTarget {
public:
    COleDropTarget();
    virtual ~COleDropTarget();   // revokes
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // FALSE when OLE is not started on the thread or the window takes drops already.
    BOOL Register(CWnd* pWnd);
    // Also done when the window is destroyed.
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // FALSE: nothing was dropped.
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

protected:
    HWND m_hWnd = nullptr;

private:
    class CDropTargetImpl;
    std::unique_ptr<CDropTargetImpl> m_pImpl;
    friend class CDropTargetImpl;
};
