// CDocTemplate and CMultiDocTemplate: how documents of one kind are made: the document, frame
// and view classes and the resources of nIDResource (the frame's menu and icon, and the string
// "window title\ndocument name\nnew name\nfilter name\nfilter extension\nfile type id\nfile type
// name"). A multi-document template opens each document in a new frame and keeps the list.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Collection.h"
#include "classlib/String.h"

#include <vector>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
    ~CDocTemplate() override = default;

    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // ---- The documents of this template.
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);      // the document belongs to this template
    virtual void RemoveDocument(CDocument* pDoc);

    // Opens lpszPathName (a new, untitled document for null) in a new frame; null on failure,
    // when nothing of it is left.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    // Closes every document (each asked to save first unless bEndSession); FALSE when one stays.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;   // documents still open are closed

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name numbered: "Report1", "Report2"...
    void SetDefaultTitle(CDocument* pDocument) override;

    UINT m_nUntitledCount = 0;

private:
    std::vector<CDocument*> m_docList;
};
