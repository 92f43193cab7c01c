// CCmdTarget: the base of every object that receives commands through a message map, with the
// reference count that COM-style owners (interface parts, counted references) share.
#pragma once

#include "classlib/Object.h"
#include "classlib/MessageMap.h"

#include <unknwn.h>

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() noexcept = default;
    ~CCmdTarget() override = default;

    // Routes a command, an update request or a notification through this object's message map.
    // nCode is CN_COMMAND, CN_UPDATE_COMMAND_UI, a control notification code, or
    // MAKELONG(code, message) for notifications (WM_NOTIFY) and reflected messages. With
    // pHandlerInfo the handler is only looked up: TRUE and the record filled when one exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The reference count starts at 1 and changes with interlocked operations, so any thread may
    // add or release a reference; OnFinalRelease runs when it reaches 0.
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }
    // Answers the interfaces GetInterface hands out, with a reference added.
    HRESULT ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
    LONG GetRefCount() const { return m_dwRef; }

    // The application's wait cursor (counted; see CWinApp::DoWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // The last reference went away; deletes the object unless a class knows better.
    virtual void OnFinalRelease();
    // The interface part that answers iid (including IID_IUnknown), or null. Classes that carry
    // COM interface parts return them here.
    virtual LPUNKNOWN GetInterface(const IID& iid);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    volatile LONG m_dwRef = 1;
};

#include "classlib/CmdUI.h"
