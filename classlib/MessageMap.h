// Message maps: each class that handles messages or commands keeps a static table of entries,
// linked to its base class's table. An entry names the message, the command code, the id range
// and a thunk; the thunk is a function template instantiated for the handler, so the handler's
// signature is checked at compile time against the signature the message calls for, and
// dispatch is one indirect call with no casts of member pointers.
//
//     BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//         ON_WM_PAINT()
//         ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
//         ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
//     END_MESSAGE_MAP()
//
// This header holds the machinery and the command and notification entries; the ON_WM_* entries
// of window messages are in WindowMessageMap.h.
#pragma once

#include "classlib/WindowMessages.h"

#include <type_traits>

#ifndef afx_msg
#define afx_msg   // marks message handlers
#endif

class CCmdTarget;
class CCmdUI;

// What a thunk receives: the window message, or the routed command.
struct AFX_MSGCALL {
    UINT message;      // window message, or the message a command code belongs to
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;          // command id (commands and notifications)
    UINT nCode;        // command or notification code (low word)
    void* pExtra;      // CCmdUI* for CN_UPDATE_COMMAND_UI, AFX_NOTIFY* for notifications
    LRESULT result;    // the message result a thunk stores
};

// Calls the handler; TRUE when the message or command counts as handled.
typedef BOOL (*AFX_MSGTHUNK)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;                 // window message; for commands the message their code belongs to
    UINT nCode;                    // command or notification code; 0 for window messages
    UINT nID;                      // first id of the range
    UINT nLastID;                  // last id of the range
    const UINT* pnRegistered;      // registered message: the variable that holds its number
    AFX_MSGTHUNK pfnThunk;         // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // null for the root of the chain
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The record of a notification routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

// Finds the first entry of a table that matches; null when none.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntries, UINT nMessage,
                                           UINT nCode, UINT nID);

// ---------------------------------------------------------------------------------------------
// Thunks.

// The class and function type of a pointer to member function.
template <class P>
struct AfxMemberTraits;
template <class C, class R, class... Args>
struct AfxMemberTraits<R (C::*)(Args...)> {
    typedef C Class;
    typedef R Function(Args...);
};
template <class C, class R, class... Args>
struct AfxMemberTraits<R (C::*)(Args...) noexcept> : AfxMemberTraits<R (C::*)(Args...)> {};

// One thunk per handler: checks the signature, finds the handler's class and lets the
// signature's decoder call it with the message's arguments.
template <class Sig, auto Handler>
BOOL AfxMsgThunk(CCmdTarget* pTarget, AFX_MSGCALL& call) {
    typedef AfxMemberTraits<decltype(Handler)> Traits;
    static_assert(std::is_same<typename Traits::Function, typename Sig::Function>::value,
                  "the handler's signature does not match its message map entry");
    static_assert(std::is_base_of<CCmdTarget, typename Traits::Class>::value,
                  "message handlers belong to command targets");
    return Sig::Call(static_cast<typename Traits::Class*>(pTarget), Handler, call);
}

#define AFX_MSG_ENTRY(message, code, id, lastId, sig, handler) \
    {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id), \
     static_cast<UINT>(lastId), nullptr, &AfxMsgThunk<sig, handler>},

// Signatures of command handlers (decoders of AFX_MSGCALL).
namespace AfxSig {

struct v_v {  // void ()
    typedef void Function();
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL&) { (p->*f)(); return TRUE; }
};
struct b_v {  // BOOL (): handled when TRUE
    typedef BOOL Function();
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL&) { return (p->*f)(); }
};
struct v_id {  // void (UINT nID)
    typedef void Function(UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) { (p->*f)(m.nID); return TRUE; }
};
struct b_id {  // BOOL (UINT nID): handled when TRUE
    typedef BOOL Function(UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) { return (p->*f)(m.nID); }
};
struct cmdui {  // void (CCmdUI*): handled unless the handler asks to continue routing
    typedef void Function(CCmdUI*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m);
};
struct v_notify {  // void (NMHDR*, LRESULT*)
    typedef void Function(NMHDR*, LRESULT*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(m.pExtra);
        (p->*f)(n->pNMHDR, n->pResult);
        return TRUE;
    }
};
struct b_notify {  // BOOL (NMHDR*, LRESULT*): handled when TRUE
    typedef BOOL Function(NMHDR*, LRESULT*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(m.pExtra);
        return (p->*f)(n->pNMHDR, n->pResult);
    }
};
struct v_id_notify {  // void (UINT nID, NMHDR*, LRESULT*)
    typedef void Function(UINT, NMHDR*, LRESULT*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(m.pExtra);
        (p->*f)(m.nID, n->pNMHDR, n->pResult);
        return TRUE;
    }
};
struct b_id_notify {  // BOOL (UINT nID, NMHDR*, LRESULT*): handled when TRUE
    typedef BOOL Function(UINT, NMHDR*, LRESULT*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(m.pExtra);
        return (p->*f)(m.nID, n->pNMHDR, n->pResult);
    }
};
struct l_w_l {  // LRESULT (WPARAM, LPARAM): ON_MESSAGE and ON_REGISTERED_MESSAGE
    typedef LRESULT Function(WPARAM, LPARAM);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(m.wParam, m.lParam);
        return TRUE;
    }
};

}  // namespace AfxSig

// ---------------------------------------------------------------------------------------------
// Declaring and defining a map.

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override; \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr, nullptr}}; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        (void)sizeof(ThisClass); \
        return &messageMap; \
    }

// ---------------------------------------------------------------------------------------------
// Commands (menu items, accelerators, buttons), their update requests and control notifications.

#define ON_COMMAND(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig::v_v, &ThisClass::memberFxn)
#define ON_COMMAND_EX(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig::b_id, &ThisClass::memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig::v_id, &ThisClass::memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig::b_id, &ThisClass::memberFxn)

#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSig::cmdui, &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSig::cmdui, &ThisClass::memberFxn)
// A control's own update request, routed to it with id 0 before its owner is asked.
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND + WM_REFLECT_BASE, CN_UPDATE_COMMAND_UI, 0, 0, AfxSig::cmdui, \
                  &ThisClass::memberFxn)

// WM_COMMAND notifications of child controls (BN_CLICKED, EN_CHANGE, ...).
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, wNotifyCode, id, id, AfxSig::v_v, &ThisClass::memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, wNotifyCode, id, idLast, AfxSig::v_id, &ThisClass::memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// WM_NOTIFY notifications of child controls.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, id, AfxSig::v_notify, &ThisClass::memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast, AfxSig::v_id_notify, &ThisClass::memberFxn)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, id, AfxSig::b_id_notify, &ThisClass::memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast, AfxSig::b_id_notify, &ThisClass::memberFxn)

// Notifications reflected back to the control that sent them. The plain forms consume the
// notification; with the _EX forms a FALSE answer passes it on to the parent as well.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSig::v_v, &ThisClass::memberFxn)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSig::b_v, &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSig::v_notify, &ThisClass::memberFxn)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    AFX_MSG_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSig::b_notify, &ThisClass::memberFxn)

// Any window message by number, and messages registered at run time (RegisterWindowMessage):
// the entry keeps the address of the variable that holds the number.
#define ON_MESSAGE(message, memberFxn) \
    AFX_MSG_ENTRY(message, 0, 0, 0, AfxSig::l_w_l, &ThisClass::memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0, 0, 0, 0, &(nMessageVariable), &AfxMsgThunk<AfxSig::l_w_l, &ThisClass::memberFxn>},
