// The document of one editor tab: a syntax editor document.
#pragma once

#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

#include <string>

// The bytes a save of the editor's text writes, line ends and encoding as the text has them.
std::string EditorFileText(CKLVSyntaxEditBufferManager& buffer);

class CquorlinDoc : public CKLVSyntaxEditDoc {
    DECLARE_DYNCREATE(CquorlinDoc)
public:
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;

    // The bytes a save would write.
    std::string GetFileText() const;
    // Whether the file's time stamp or size is no longer what the last open or save saw.
    BOOL IsChangedOnDisk(LPCTSTR lpszPathName) const;
    // The file already holds the text: it counts as saved, and its time stamp as seen.
    void MarkSaved(LPCTSTR lpszPathName);
    // Loads the file again, unmodified.
    BOOL Reload(LPCTSTR lpszPathName);

private:
    void ShowSavedState();
};
