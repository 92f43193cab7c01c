// The text of one editor: its rows, line-end style and encoding, tab size and overwrite mode;
// loading and saving, inserting and deleting with undo, and the link to the lexer that colours
// it. Rows are numbered from 1; columns are 1-based characters unless a call says display
// columns (TABs expanded).
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/NotificationConnection.h"
#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"
#include "toolkit/syntaxedit/text/SyntaxEditLineMarksManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"
#include "toolkit/syntaxedit/text/SyntaxEditRowArray.h"
#include "toolkit/syntaxedit/text/SyntaxEditUndoManager.h"

#include <memory>

class CKLVSyntaxEditBufferManager : public CCmdTarget, public IKLVSyntaxEditTextSource {
    DECLARE_DYNCREATE(CKLVSyntaxEditBufferManager)
public:
    CKLVSyntaxEditBufferManager();
    ~CKLVSyntaxEditBufferManager() override;

    // The byte offset of the character shown at a 1-based display column.
    virtual int CalcCharPos(int nRow, int nDispCol);
    // The 1-based display column of the character at a 0-based offset.
    virtual int CalcDisplayColumn(int nRow, int nCharPos);
    // An estimate of the bytes of a range of rows.
    virtual UINT CalcAveDataSize(int nRowFrom, int nRowTo);
    // Runs on the thread that created the buffer, whichever thread the manager notified from.
    // Setting a schema waits for the parser's thread to stop, and messages sent to this thread
    // are handled meanwhile: a notification that comes in then is not handled inside the one
    // that waits (which would then set its older schema over the newer one) but after it, as
    // the schema the manager has for the file at that time.
    virtual void OnLexConfigNotification(DWORD dwCode, WPARAM wParam, LPARAM lParam);

    void Close();

    // Rows and text.
    int GetRowCount() const { return m_arRows.GetSize(); }
    BOOL GetLineText(int nRow, CString& strText, BOOL bAddCRLF = FALSE, int eCRLFStyle = -1) const;
    CString GetLineEndText() const;
    BOOL IsLineEndAt(LPCSTR pText, BOOL bEndsHere = FALSE) const;
    int GetMaxLineLength(int nRowFrom = -1, int nRowTo = -1) const;
    BOOL InsertText(LPCSTR lpszText, int nRow, int nCol, CKLVSyntaxEditPosition* pEnd = nullptr, BOOL bAddUndo = TRUE);
    BOOL InsertTextBlock(LPCSTR lpszText, int nRow, int nCol, CKLVSyntaxEditPosition* pEnd = nullptr,
                         BOOL bAddUndo = TRUE);
    BOOL DeleteText(int nRowFrom, int nColFrom, int nRowTo, int nColTo, BOOL bAddUndo = TRUE, BOOL bDispCol = FALSE);
    BOOL GetBuffer(int nRowFrom, int nColFrom, int nRowTo, int nColTo, CMemFile& file, BOOL bColumnMode = FALSE,
                   int eCRLFStyle = -1);
    BOOL ChangeCase(int nRow, int nDispFrom, int nDispTo, BOOL bUpper, BOOL bAddUndo = TRUE);

    // Settings and state.
    int GetTabSize() const { return m_nTabSize; }
    BOOL SetTabSize(int nTabSize, BOOL bSave = FALSE);
    // Reads the settings the buffer keeps (the tab size) from the profile again.
    void LoadSettings();
    BOOL GetOverwriteFlag() const { return m_bOverwrite; }
    void SetOverwriteFlag(BOOL bOverwrite) { m_bOverwrite = bOverwrite; }
    int GetCRLFStyle() const { return m_eCRLFStyle; }
    void SetCRLFStyle(int eStyle) { m_eCRLFStyle = eStyle; }
    BOOL IsUnicodeFile() const { return m_bUnicode; }
    void SetUnicodeFile(BOOL bUnicode) { m_bUnicode = m_bByteOrderMark = bUnicode; }
    UINT GetCodePage() const { return m_nCodePage; }
    void SetCodePage(UINT nCodePage) { m_nCodePage = nCodePage; }
    BOOL IsModified() const { return m_undoManager.IsModified(); }
    CString GetFileName() const override { return m_strFileName; }
    std::unique_ptr<IKLVSyntaxEditTextIterator> CreateTextIterator() override;
    void SetFileName(LPCSTR lpszFileName);
    CString GetConfigFile() const;
    BOOL SetConfigFile(LPCSTR lpszPath);
    BOOL IsSyntaxColoringEnabled() const { return m_bSyntaxColoring; }
    void EnableSyntaxColoring(BOOL bEnable);
    void SetLexConfigManager(IKLVSyntaxEditConfigManager* pConfigManager);

    CKLVSyntaxEditUndoManager* GetUndoManager() { return &m_undoManager; }
    CKLVSyntaxEditLineMarksManager* GetLineMarksManager() { return &m_lineMarksManager; }
    IKLVSyntaxEditLexParser* GetLexParser() const { return m_pParser.get(); }
    IKLVSyntaxEditConfigManager* GetLexConfigManager() const { return m_pConfigManager; }
    CKLVNotificationConnection* GetConnection() const { return m_pConnection; }

    // Reads or writes the text through an archive; the file name becomes the file's extension.
    void Serialize(CArchive& ar) override;
    // Writes the bytes a save writes, leaving the text's saved mark as it was.
    void WriteText(CArchive& ar) { StoreText(ar); }
    // An empty text as a new file has it: no rows, no undo steps, the default encoding.
    void SetEmptyText();
    // Reads a file; FALSE when it cannot be read.
    BOOL LoadFile(LPCSTR lpszPath);
    // Writes a file beside the target and puts it in the target's place only once it is
    // complete, so a failed save leaves the old file as it was.
    BOOL SaveFile(LPCSTR lpszPath);

    // The extension of a path with its dot; empty without one.
    static CString GetFileExtension(LPCSTR lpszPath);

private:
    // Holds the parser off the rows while they change.
    class CTextLock {
    public:
        explicit CTextLock(CKLVSyntaxEditBufferManager* pBuffer) : m_pParser(pBuffer->m_pParser.get()) {
            if (m_pParser) m_pParser->LockText();
        }
        ~CTextLock() {
            if (m_pParser) m_pParser->UnlockText();
        }
        CTextLock(const CTextLock&) = delete;
        CTextLock& operator=(const CTextLock&) = delete;

    private:
        IKLVSyntaxEditLexParser* m_pParser;
    };

    // The row's text, empty for rows outside the array.
    const CString& RowText(int nRow) const;
    // The text between two 0-based character offsets of two rows.
    CString GetRangeText(int nRowFrom, int nFrom, int nRowTo, int nTo, int eCRLFStyle = -1) const;
    void ClearText();
    void LoadText(CArchive& ar);
    void StoreText(CArchive& ar);
    void ApplySchemaForFile();
    // One configuration notification; FALSE when it changes nothing here.
    BOOL ApplyConfigNotification(DWORD dwCode, LPARAM lParam);
    // The whole text again: after loading (bFirst) or after a configuration change, at once or
    // on the parser's thread as the file's options say.
    void Reparse(BOOL bFirst = FALSE);
    void Publish(DWORD dwCode, WPARAM wParam, LPARAM lParam);
    void AttachSharedConfigManager();
    void DetachSharedConfigManager();

    CKLVSyntaxEditUndoManager m_undoManager;
    CKLVSyntaxEditLineMarksManager m_lineMarksManager;
    IKLVSyntaxEditConfigManager* m_pConfigManager = nullptr;
    CString m_strFileName;
    CKLVNotificationSinkMT<CKLVSyntaxEditBufferManager> m_sink{this};
    CKLVSyntaxEditRowArray m_arRows;
    CKLVNotificationConnection* m_pConnection;
    std::unique_ptr<IKLVSyntaxEditLexParser> m_pParser;
    int m_nTabSize = 4;
    int m_eCRLFStyle = 0;
    UINT m_nCodePage = CP_ACP;
    BOOL m_bUnicode = FALSE;
    BOOL m_bByteOrderMark = FALSE;
    BOOL m_bOverwrite = FALSE;
    BOOL m_bSyntaxColoring = TRUE;
    BOOL m_bApplyingConfig = FALSE;
    BOOL m_bConfigChangedMeanwhile = FALSE;
    int m_nAverageRowSize = 30;
};
