// CDocument: the data of one open file, shown by its views. It keeps its path, title and
// modified flag, loads and saves itself through Serialize, tells its views of changes
// (UpdateAllViews) and closes itself when its last view goes.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Collection.h"
#include "classlib/String.h"

#include <vector>

class CArchive;
class CException;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() noexcept = default;
    ~CDocument() override;   // leaves its template's list

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);   // and the titles of its frames
    const CString& GetPathName() const { return m_strPathName; }
    // The title becomes the file's name; with bAddToMRU the application's recent-file list
    // gets the path.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // ---- Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // A view came or went: without views the document closes (when it deletes itself).
    virtual void OnChangedViewList();
    // Numbers the frames when the document has more than one and retitles them.
    void UpdateFrameCounts();

    // ---- Life: new, open, save, close.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Writes a file beside the target first and moves it over the target only when complete:
    // a failed save leaves the old file as it was.
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys the document's frames (and so its views), then the document.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    void Serialize(CArchive& ar) override;
    // Asks the user to save a modified document; FALSE when the user cancels.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;   // deleted when closed
    BOOL m_bEmbedded = FALSE;

protected:
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    DECLARE_MESSAGE_MAP()

protected:
    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_viewList;
    BOOL m_bModified = FALSE;

    friend class CDocTemplate;
};
