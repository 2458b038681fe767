#pragma once

#include <windows.h>

// Message maps: static tables from (message, notification code, control id)
// to a handler of the class that declares the table. Tables chain to the base
// class's table, so a derived class sees its own entries first.

class CCmdTarget;

// Returns the dialog procedure's result for the message; for WM_NOTIFY and
// the program's own messages the handler's result goes to *notifyResult.
using AfxHandler = INT_PTR (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* notifyResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    AfxHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

    // The first entry for the message in this class's map chain, or null.
    const AFX_MSGMAP_ENTRY* FindHandler(UINT message, UINT code, UINT id) const;

    // Routes a command (menu, accelerator or button id) through the map chain.
    BOOL OnCmdMsg(UINT id, UINT code);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;  \
                                                       \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                         \
    {                                                                                       \
        using ThisClass = theClass;                                                         \
        using TheBaseClass = baseClass;                                                     \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                    \
        {0, 0, 0, nullptr}};                                                 \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                         \
    }

#define ON_COMMAND(id, memberFxn)                                                            \
    {WM_COMMAND, 0, static_cast<UINT>(id),                                                   \
     [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) -> INT_PTR {                           \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                                  \
         return TRUE;                                                                        \
     }},

#define ON_BN_CLICKED(id, memberFxn)                                                         \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id),                                          \
     [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) -> INT_PTR {                           \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                                  \
         return TRUE;                                                                        \
     }},

#define ON_NOTIFY(code, id, memberFxn)                                                       \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id),                              \
     [](CCmdTarget* target, WPARAM, LPARAM lParam, LRESULT* result) -> INT_PTR {             \
         (static_cast<ThisClass*>(target)->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), result); \
         return TRUE;                                                                        \
     }},

#define ON_WM_PAINT()                                                                        \
    {WM_PAINT, 0, 0,                                                                         \
     [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) -> INT_PTR {                           \
         static_cast<ThisClass*>(target)->OnPaint();                                         \
         return TRUE;                                                                        \
     }},

// A message of the program's own: the handler's result becomes the message's.
#define ON_MESSAGE(message, memberFxn)                                                       \
    {static_cast<UINT>(message), 0, 0,                                                       \
     [](CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result) -> INT_PTR {      \
         *result = (static_cast<ThisClass*>(target)->*(memberFxn))(wParam, lParam);          \
         return TRUE;                                                                        \
     }},

#define ON_WM_TIMER()                                                                        \
    {WM_TIMER, 0, 0,                                                                         \
     [](CCmdTarget* target, WPARAM wParam, LPARAM, LRESULT*) -> INT_PTR {                    \
         static_cast<ThisClass*>(target)->OnTimer(static_cast<UINT_PTR>(wParam));            \
         return TRUE;                                                                        \
     }},

// A dialog procedure returns the drag icon itself as its result.
#define ON_WM_QUERYDRAGICON()                                                                \
    {WM_QUERYDRAGICON, 0, 0,                                                                 \
     [](CCmdTarget* target, WPARAM, LPARAM, LRESULT*) -> INT_PTR {                           \
         return reinterpret_cast<INT_PTR>(static_cast<ThisClass*>(target)->OnQueryDragIcon()); \
     }},
