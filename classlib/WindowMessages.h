// The library's own window messages, command codes and reserved ids, beside those of Win32.
#pragma once

#include "classlib/Object.h"

#include <commctrl.h>

// Messages the library and the windows built on it send each other (0x0360 to 0x037F).
#define WM_SIZEPARENT 0x0361          // lParam: layout record; a frame lays out its bars
#define WM_SETMESSAGESTRING 0x0362    // wParam: string id, or lParam: text; status-bar message
#define WM_IDLEUPDATECMDUI 0x0363     // wParam: disable controls without a handler
#define WM_INITIALUPDATE 0x0364       // sent to windows that update their state once after creation
#define WM_COMMANDHELP 0x0365         // lParam: help context
#define WM_HELPHITTEST 0x0366         // lParam: client point; answers a help context
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZECHILD 0x0369
#define WM_KICKIDLE 0x036A            // posted to wake a modal loop for its idle work
#define WM_QUERYCENTERWND 0x036B
#define WM_DISABLEMODAL 0x036C
#define WM_FLOATSTATUS 0x036D         // wParam: FS_* flags for floating tool windows
#define WM_ACTIVATETOPLEVEL 0x036E
#define WM_POPMESSAGESTRING 0x0375    // wParam: string id; restores a status-bar message

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// WM_FLOATSTATUS flags.
#define FS_SHOW 0x01
#define FS_HIDE 0x02
#define FS_ACTIVATE 0x04
#define FS_DEACTIVATE 0x08
#define FS_ENABLE 0x10
#define FS_DISABLE 0x20
#define FS_SYNCACTIVE 0x40

// The 16-bit colour message: message maps name it for all of WM_CTLCOLORMSGBOX..STATIC.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// A notification reflected to the child control that sent it arrives as its message plus this.
#define WM_REFLECT_BASE 0xBC00

// Command codes of OnCmdMsg. The low word is the code; the high word, when not 0, is the message
// the code belongs to (WM_NOTIFY, or a reflected message): MAKELONG(code, message).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// Reserved ids.
#define AFX_IDS_APP_TITLE 0xE000     // the application's name
#define AFX_IDS_IDLEMESSAGE 0xE001   // the status bar's idle text
