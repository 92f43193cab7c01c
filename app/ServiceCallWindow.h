// The "Call the Service" window: the user picks a port and an operation of the open project's
// service, edits the request (filled with the sample values the demo sends) and the endpoint, and
// sends it off the window's thread; the answer comes back indented and coloured with its status,
// headers and time, a fault in plain words, a failure with its cause. The request can be checked
// against the service's schemas first; requests sent are kept in the project's history; the
// project's demo can be started as a mock of the service. Modeless, owned by the main frame.
#pragma once

#include "app/CallEditCtrl.h"
#include "app/MockService.h"
#include "app/ServiceCallPorts.h"
#include "app/ServiceCallSender.h"
#include "classlib/ClassLib.h"
#include "project/call/CallHistory.h"
#include "project/call/CallSettings.h"
#include "project/call/RequestCheck.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CMainFrame;

class CServiceCallWindow : public CDialog {
public:
    enum { WM_CALL_FINISHED = WM_APP + 0x140, timerMock = 1 };

    CServiceCallWindow();
    ~CServiceCallWindow() override;

    // Shows the window for the frame's open project, reading its service when the window is made;
    // FALSE when the service cannot be offered (the user has been told why).
    BOOL Open(CMainFrame& frame);
    // Closes the window: a call under way is cancelled and the mock service stopped.
    void Close();

    // ---- What the user does, as the controls do it.
    BOOL SelectPort(const std::string& strPort);
    BOOL SelectOperation(const std::string& strOperation);
    void Send();
    void CancelCall();
    // Checks the request; the problems found, each marked at its row of the editor.
    const std::vector<RequestProblem>& Check();
    // The history entry (newest last) back into the window: port, operation, endpoint, request.
    BOOL Reopen(int nEntry);
    void StartOrStopMock();

    // ---- What the window shows.
    CKLVSyntaxEditCtrl& RequestEditor() { return m_request; }
    CKLVSyntaxEditCtrl& AnswerEditor() { return m_answer; }
    std::string RequestText() { return EditorText(m_request); }
    std::string AnswerText() { return EditorText(m_answer); }
    std::string StatusText() const;
    std::string MockStateText() const;
    BOOL IsSending() const { return m_sender.IsSending(); }
    const std::vector<CCallPort>& Ports() const { return m_ports; }
    const std::vector<CallRecord>& History() const { return m_history; }
    CallSettings& Settings() { return m_settings; }
    void SaveSettings();
    // How passwords are kept: the system's data protection unless another is given.
    void SetSecretProtection(SecretProtection protection) { m_protection = std::move(protection); }
    CMockService& Mock() { return m_mock; }

    static std::string EditorText(CKLVSyntaxEditCtrl& ctrl);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}

    afx_msg void OnPortChanged();
    afx_msg void OnOperationChanged();
    afx_msg void OnSendClicked() { Send(); }
    afx_msg void OnCancelClicked() { CancelCall(); }
    afx_msg void OnCheckClicked() { Check(); }
    afx_msg void OnSettingsClicked();
    afx_msg void OnReopenClicked();
    afx_msg void OnHistoryDoubleClicked();
    afx_msg void OnProblemChosen();
    afx_msg void OnMockClicked() { StartOrStopMock(); }
    afx_msg LRESULT OnCallFinished(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    afx_msg void OnDestroy();

private:
    BOOL CreateEditor(CCallEditCtrl& ctrl, UINT nPlaceholder, BOOL bReadOnly);
    void FillPorts();
    void FillOperations();
    void ShowOperation();
    void ShowHistory();
    void MarkProblems();
    void ClearProblemMarks();
    void SetSending(BOOL bSending);
    void ShowMockState();
    const CCallPort* CurrentPort() const;
    const CCallOperation* CurrentOperation() const;
    std::string ControlText(UINT nID) const;
    SoapCallRequest MakeRequest();
    std::string ProjectFolder() const;
    CallSettingsStore SettingsStore() const;

    CMainFrame* m_pFrame = nullptr;
    std::vector<CCallPort> m_ports;
    CCallEditCtrl m_request;
    CCallEditCtrl m_answer;
    CServiceCallSender m_sender;
    CallRecord m_sending;   // the request under way, kept in the history when it ends
    std::vector<RequestProblem> m_problems;
    std::vector<int> m_markedRows;
    std::vector<CallRecord> m_history;
    CallSettings m_settings;
    SecretProtection m_protection;
    CMockService m_mock;
    CSize m_szLeast{0, 0};   // the window's size as its template made it: it grows, never shrinks below

    DECLARE_MESSAGE_MAP()
};
