// The syntax editor's document: one buffer manager that holds, loads and saves the text, the
// file's time stamp, the "AutoReload" setting, and the hints that keep its views up to date.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditBufferManager;
class CKLVSyntaxEditView;

// Update hints of the syntax editor's views.
enum {
    KLV_SYNTAXEDIT_HINT_RELOAD = 1,        // the text changed as a whole: views redisplay it
    KLV_SYNTAXEDIT_HINT_SETTINGS = 2,      // the editor settings changed
    KLV_SYNTAXEDIT_HINT_FONT = 3,          // the object is a LOGFONT
    KLV_SYNTAXEDIT_HINT_LINENUMBERS = 4,   // 4 to 7: the object points to the new BOOL value
    KLV_SYNTAXEDIT_HINT_SELMARGIN = 5,
    KLV_SYNTAXEDIT_HINT_AUTOINDENT = 6,
    KLV_SYNTAXEDIT_HINT_SYNTAXCOLOR = 7,
    KLV_SYNTAXEDIT_HINT_SIBLINGS = 8       // the object is the control's -939 notification
};

class CKLVSyntaxEditDoc : public CDocument {
    DECLARE_DYNCREATE(CKLVSyntaxEditDoc)
public:
    CKLVSyntaxEditDoc();
    ~CKLVSyntaxEditDoc() override;

    CKLVSyntaxEditBufferManager* GetBufferManager() const { return m_pBuffer; }
    // Holds one reference on the manager; the new one is taken before the old one is let go,
    // so giving the manager already held keeps it alive.
    void SetBufferManager(CKLVSyntaxEditBufferManager* pBuffer);
    BOOL GetAutoReload() const { return m_bAutoReload; }
    // With bSave the profile keeps the value: the result is the write's.
    BOOL SetAutoReload(BOOL bAutoReload, BOOL bSave);
    // The file's find data (its time stamps) as it was when last opened or saved; FALSE when
    // the file is not there.
    virtual BOOL ReadFileTime(LPCTSTR lpszPathName);
    const WIN32_FIND_DATAA& GetFileFindData() const { return m_findData; }
    BOOL IsNewDocument() const { return m_bNewDocument; }
    CKLVSyntaxEditView* GetFirstSyntaxView() const;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;
    // While the views are to start in step, a later view starts at the first view's top row.
    void OnChangedViewList() override;

protected:
    CKLVSyntaxEditBufferManager* m_pBuffer = nullptr;
    BOOL m_bAutoReload = FALSE;
    BOOL m_bNewDocument = TRUE;
    BOOL m_bSyncViews = FALSE;
    WIN32_FIND_DATAA m_findData{};
};
