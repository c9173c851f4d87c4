// Per-class message tables: each window class lists the messages it handles
// (message, notification code, control id, handler); lookups walk from the
// most derived class to its bases.
#pragma once
#include <windows.h>

class CWnd;

// How the dispatcher calls a handler: the handler's signature.
enum class HandlerSig {
    End,        // terminates a table
    Lresult_WL, // LRESULT fn(WPARAM, LPARAM)
    Void,       // void fn()
    Timer,      // void fn(UINT_PTR id)
    FlagsPoint, // void fn(UINT flags, POINT pt)
};

// The handler, stored as the member matching its signature.
union HandlerFn {
    LRESULT (CWnd::*m_pfnWL)(WPARAM, LPARAM);
    void (CWnd::*m_pfnVoid)();
    void (CWnd::*m_pfnTimer)(UINT_PTR);
    void (CWnd::*m_pfnFlagsPoint)(UINT, POINT);
};

struct MessageEntry {
    UINT m_nMessage; // WM_xxx
    UINT m_nCode;    // notification code (WM_COMMAND), 0 for menu commands and BN_CLICKED
    UINT m_nID;      // command or control id (WM_COMMAND), 0 otherwise
    HandlerSig m_sig;
    HandlerFn m_fn;
};

struct MessageMap {
    const MessageMap* (*m_pfnBase)(); // null for CWnd
    const MessageEntry* m_pEntries;
};

// Typed builders: a derived class's handler becomes a CWnd member pointer of
// the same signature, so a handler with the wrong signature does not compile.
template <class C> MessageEntry EntryWL(UINT message, LRESULT (C::*f)(WPARAM, LPARAM)) {
    MessageEntry entry{message, 0, 0, HandlerSig::Lresult_WL, {}};
    entry.m_fn.m_pfnWL = static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(f);
    return entry;
}
template <class C> MessageEntry EntryVoid(UINT message, UINT code, UINT id, void (C::*f)()) {
    MessageEntry entry{message, code, id, HandlerSig::Void, {}};
    entry.m_fn.m_pfnVoid = static_cast<void (CWnd::*)()>(f);
    return entry;
}
template <class C> MessageEntry EntryTimer(void (C::*f)(UINT_PTR)) {
    MessageEntry entry{WM_TIMER, 0, 0, HandlerSig::Timer, {}};
    entry.m_fn.m_pfnTimer = static_cast<void (CWnd::*)(UINT_PTR)>(f);
    return entry;
}
template <class C> MessageEntry EntryFlagsPoint(UINT message, void (C::*f)(UINT, POINT)) {
    MessageEntry entry{message, 0, 0, HandlerSig::FlagsPoint, {}};
    entry.m_fn.m_pfnFlagsPoint = static_cast<void (CWnd::*)(UINT, POINT)>(f);
    return entry;
}

#define DECLARE_MESSAGE_MAP()                                                                      \
  public:                                                                                          \
    static const MessageMap* GetThisMessageMap();                                                  \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const MessageMap* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const MessageMap* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const MessageEntry entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    MessageEntry {                                                                                 \
        0, 0, 0, HandlerSig::End, {}                                                               \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

#define ON_MESSAGE(message, fn) EntryWL(message, &ThisClass::fn),
#define ON_COMMAND(id, fn) EntryVoid(WM_COMMAND, 0, id, &ThisClass::fn),
#define ON_BN_CLICKED(id, fn) EntryVoid(WM_COMMAND, BN_CLICKED, id, &ThisClass::fn),
#define ON_CBN_SELCHANGE(id, fn) EntryVoid(WM_COMMAND, CBN_SELCHANGE, id, &ThisClass::fn),
#define ON_WM_TIMER() EntryTimer(&ThisClass::OnTimer),
#define ON_WM_PAINT() EntryVoid(WM_PAINT, 0, 0, &ThisClass::OnPaint),
#define ON_WM_DESTROY() EntryVoid(WM_DESTROY, 0, 0, &ThisClass::OnDestroy),
#define ON_WM_MOUSEMOVE() EntryFlagsPoint(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
#define ON_WM_LBUTTONDOWN() EntryFlagsPoint(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
#define ON_WM_LBUTTONDBLCLK() EntryFlagsPoint(WM_LBUTTONDBLCLK, &ThisClass::OnLButtonDblClk),
