#include "app/ServiceCallWindow.h"

#include "app/DpapiProtect.h"
#include "app/ErrorBox.h"
#include "app/MainFrame.h"
#include "app/QuorlinDoc.h"
#include "app/ServiceCallLayout.h"
#include "app/ServiceCallSettingsDialog.h"
#include "app/ServiceCallText.h"
#include "app/res/Resource.h"
#include "generator/model/ServiceView.h"
#include "project/BuildCommandLines.h"
#include "project/ProjectFiles.h"
#include "project/call/CallService.h"
#include "project/call/SoapAnswer.h"

#include <ctime>

namespace {

// A row the check found a problem in: marked and tinted until the next check or request.
const COLORREF kProblemRowColor = RGB(255, 220, 220);
const char kProblemMark[] = "Bookmark";

std::string Now() {
    const std::time_t now = std::time(nullptr);
    char szText[32] = "";
    if (const std::tm* pUtc = std::gmtime(&now)) std::strftime(szText, sizeof szText, "%Y-%m-%dT%H:%M:%SZ", pUtc);
    return szText;
}

}  // namespace

BEGIN_MESSAGE_MAP(CServiceCallWindow, CDialog)
    ON_CBN_SELCHANGE(IDC_CALL_PORT, OnPortChanged)
    ON_CBN_SELCHANGE(IDC_CALL_OPERATION, OnOperationChanged)
    ON_BN_CLICKED(IDC_CALL_SEND, OnSendClicked)
    ON_BN_CLICKED(IDC_CALL_CANCEL, OnCancelClicked)
    ON_BN_CLICKED(IDC_CALL_CHECK, OnCheckClicked)
    ON_BN_CLICKED(IDC_CALL_SETTINGS, OnSettingsClicked)
    ON_BN_CLICKED(IDC_CALL_REOPEN, OnReopenClicked)
    ON_CONTROL(LBN_DBLCLK, IDC_CALL_HISTORY, OnHistoryDoubleClicked)
    ON_LBN_SELCHANGE(IDC_CALL_PROBLEMS, OnProblemChosen)
    ON_BN_CLICKED(IDC_CALL_MOCK, OnMockClicked)
    ON_MESSAGE(WM_CALL_FINISHED, OnCallFinished)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CServiceCallWindow::CServiceCallWindow() : m_protection{DpapiProtect, DpapiUnprotect} {}

CServiceCallWindow::~CServiceCallWindow() {
    Close();
}

std::string CServiceCallWindow::ProjectFolder() const {
    const CProjectRecord* pProject = m_pFrame ? m_pFrame->GetProject() : nullptr;
    return pProject ? pProject->location : std::string();
}

BOOL CServiceCallWindow::Open(CMainFrame& frame) {
    if (GetSafeHwnd()) {
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        return TRUE;
    }
    if (!frame.GetProject()) return FALSE;
    m_pFrame = &frame;
    const CallService* pService = frame.ReadCallService();
    if (!pService) {
        ShowErrorBox(&frame, "The service cannot be called: its WSDL document was not read (the Output pane says why).");
        return FALSE;
    }
    std::vector<CCallPort> ports = ReadCallPorts(pService->view());
    if (ports.empty()) {
        ShowErrorBox(&frame, "The service cannot be called: its WSDL document has no port with a SOAP binding.");
        return FALSE;
    }
    m_ports = std::move(ports);
    if (!Create(IDD_SERVICE_CALL, &frame)) return FALSE;
    ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

void CServiceCallWindow::Close() {
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL CServiceCallWindow::CreateEditor(CCallEditCtrl& ctrl, UINT nPlaceholder, BOOL bReadOnly) {
    CWnd* pPlace = GetDlgItem(nPlaceholder);
    if (!pPlace) return FALSE;
    CRect rc;
    pPlace->GetWindowRect(&rc);
    ScreenToClient(&rc);
    ctrl.SetConfigFile(GetModuleDirectory() + "\\config\\SyntaxEdit.ini");
    if (!ctrl.Create(this, TRUE, TRUE)) return FALSE;
    // The XML scheme colours envelopes as it colours the project's WSDL document.
    ctrl.GetBuffer()->SetFileName(".xml");
    ctrl.SetLineNumbers(TRUE, FALSE);
    ctrl.SetDlgCtrlID(nPlaceholder);
    pPlace->SetDlgCtrlID(0);
    ctrl.MoveWindow(&rc);
    ctrl.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    ctrl.SetReadOnly(bReadOnly);
    return TRUE;
}

BOOL CServiceCallWindow::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateEditor(m_request, IDC_CALL_REQUEST, FALSE);
    CreateEditor(m_answer, IDC_CALL_ANSWER, TRUE);
    // What cannot be read of the settings and the history is said; the rest is used.
    std::vector<std::string> problems;
    m_settings = SettingsStore().load(problems);
    std::vector<CallHistoryProblem> historyProblems;
    m_history = CallHistory(ProjectFolder()).load(historyProblems);
    for (const CallHistoryProblem& problem : historyProblems) problems.push_back(problem.text());
    std::string strProblems;
    for (const std::string& strProblem : problems) strProblems += (strProblems.empty() ? "" : "\r\n") + strProblem;
    SetDlgItemText(IDC_CALL_STATUS, strProblems.c_str());
    SetDlgItemText(IDC_CALL_MOCK_PORT, "0");
    FillPorts();
    ShowHistory();
    ShowMockState();
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    m_szLeast = rcWindow.Size();
    return TRUE;
}

void CServiceCallWindow::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    if (!m_request.GetSafeHwnd() || nType == SIZE_MINIMIZED) return;
    // The client area in dialog units, measured on a large rectangle for its precision.
    CRect rcUnits(0, 0, 400, 800);
    MapDialogRect(&rcUnits);
    if (rcUnits.Width() <= 0 || rcUnits.Height() <= 0) return;
    for (const CCallControlPlace& place : ServiceCallLayout(::MulDiv(cx, 400, rcUnits.Width()), ::MulDiv(cy, 800, rcUnits.Height()))) {
        CRect rc(place.rc);
        MapDialogRect(&rc);
        if (HWND hControl = ::GetDlgItem(m_hWnd, static_cast<int>(place.nID)))
            ::MoveWindow(hControl, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    }
}

void CServiceCallWindow::OnGetMinMaxInfo(MINMAXINFO* pInfo) {
    if (m_szLeast.cx > 0) pInfo->ptMinTrackSize = CPoint(m_szLeast.cx, m_szLeast.cy);
}

void CServiceCallWindow::FillPorts() {
    auto* pPorts = static_cast<CComboBox*>(GetDlgItem(IDC_CALL_PORT));
    pPorts->ResetContent();
    for (const CCallPort& port : m_ports) pPorts->AddString(port.strName.c_str());
    pPorts->SetCurSel(0);
    OnPortChanged();
}

const CCallPort* CServiceCallWindow::CurrentPort() const {
    const int nPort = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_PORT, CB_GETCURSEL, 0, 0));
    return nPort >= 0 && nPort < static_cast<int>(m_ports.size()) ? &m_ports[nPort] : nullptr;
}

const CCallOperation* CServiceCallWindow::CurrentOperation() const {
    const CCallPort* pPort = CurrentPort();
    const int nOperation = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_OPERATION, CB_GETCURSEL, 0, 0));
    return pPort && nOperation >= 0 && nOperation < static_cast<int>(pPort->operations.size())
               ? &pPort->operations[nOperation]
               : nullptr;
}

void CServiceCallWindow::OnPortChanged() {
    const CCallPort* pPort = CurrentPort();
    if (!pPort) return;
    SetDlgItemText(IDC_CALL_ENDPOINT, m_settings.endpointFor(pPort->strName, pPort->strAddress).c_str());
    FillOperations();
}

void CServiceCallWindow::FillOperations() {
    auto* pOperations = static_cast<CComboBox*>(GetDlgItem(IDC_CALL_OPERATION));
    pOperations->ResetContent();
    if (const CCallPort* pPort = CurrentPort())
        for (const CCallOperation& operation : pPort->operations) pOperations->AddString(operation.strName.c_str());
    pOperations->SetCurSel(0);
    ShowOperation();
}

void CServiceCallWindow::OnOperationChanged() {
    ShowOperation();
}

void CServiceCallWindow::ShowOperation() {
    const CCallOperation* pOperation = CurrentOperation();
    ClearProblemMarks();
    m_request.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pOperation ? pOperation->strEnvelope.c_str() : ""));
    m_request.SetCurPos(1, 1);
    m_request.Invalidate(FALSE);
}

BOOL CServiceCallWindow::SelectPort(const std::string& strPort) {
    const int nIndex = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_PORT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                              reinterpret_cast<LPARAM>(strPort.c_str())));
    if (nIndex < 0) return FALSE;
    ::SendDlgItemMessageA(m_hWnd, IDC_CALL_PORT, CB_SETCURSEL, nIndex, 0);
    OnPortChanged();
    return TRUE;
}

BOOL CServiceCallWindow::SelectOperation(const std::string& strOperation) {
    const int nIndex = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_OPERATION, CB_FINDSTRINGEXACT,
                                                              static_cast<WPARAM>(-1),
                                                              reinterpret_cast<LPARAM>(strOperation.c_str())));
    if (nIndex < 0) return FALSE;
    ::SendDlgItemMessageA(m_hWnd, IDC_CALL_OPERATION, CB_SETCURSEL, nIndex, 0);
    ShowOperation();
    return TRUE;
}

std::string CServiceCallWindow::ControlText(UINT nID) const {
    CString strText;
    GetDlgItemText(static_cast<int>(nID), strText);
    return static_cast<LPCSTR>(strText);
}

std::string CServiceCallWindow::StatusText() const {
    return ControlText(IDC_CALL_STATUS);
}

std::string CServiceCallWindow::MockStateText() const {
    return ControlText(IDC_CALL_MOCK_STATE);
}

std::string CServiceCallWindow::EditorText(CKLVSyntaxEditCtrl& ctrl) {
    return ctrl.GetBuffer() ? EditorFileText(*ctrl.GetBuffer()) : std::string();
}

SoapCallRequest CServiceCallWindow::MakeRequest() {
    SoapCallRequest request;
    request.caFile = m_settings.caFile;
    request.verifyCertificate = m_settings.verifyCertificate;
    request.proxy = m_settings.proxy;
    request.proxyUser = m_settings.proxyUser;
    request.proxyPassword = m_settings.proxyPassword;
    request.auth = m_settings.auth == CallSettings::AuthBasic    ? SoapCallRequest::AuthBasic
                   : m_settings.auth == CallSettings::AuthDigest ? SoapCallRequest::AuthDigest
                                                                 : SoapCallRequest::AuthNone;
    request.user = m_settings.user;
    request.password = m_settings.password;
    request.timeoutSeconds = m_settings.timeoutSeconds;
    request.endpoint = ControlText(IDC_CALL_ENDPOINT);
    request.envelope = EditorText(m_request);
    if (const CCallOperation* pOperation = CurrentOperation()) {
        request.contentType = pOperation->strContentType;
        request.soapAction = pOperation->strSoapAction;
    }
    return request;
}

void CServiceCallWindow::SetSending(BOOL bSending) {
    GetDlgItem(IDC_CALL_SEND)->EnableWindow(!bSending);
    GetDlgItem(IDC_CALL_CANCEL)->EnableWindow(bSending);
    GetDlgItem(IDC_CALL_REOPEN)->EnableWindow(!bSending);
}

void CServiceCallWindow::Send() {
    const CCallPort* pPort = CurrentPort();
    const CCallOperation* pOperation = CurrentOperation();
    if (m_sender.IsSending()) return;
    if (!pPort || !pOperation) {
        SetDlgItemText(IDC_CALL_STATUS, "Pick a port and an operation to send the request with.");
        return;
    }
    const SoapCallRequest request = MakeRequest();
    m_sending = CallRecord{};
    m_sending.when = Now();
    m_sending.port = pPort->strName;
    m_sending.operation = pOperation->strName;
    m_sending.endpoint = request.endpoint;
    m_sending.envelope = request.envelope;
    // An endpoint other than the port's address is kept for the project's next calls.
    if (request.endpoint != m_settings.endpointFor(pPort->strName, pPort->strAddress)) {
        if (request.endpoint == pPort->strAddress)
            m_settings.endpoints.erase(pPort->strName);
        else
            m_settings.endpoints[pPort->strName] = request.endpoint;
        SaveSettings();
    }
    if (!m_sender.Start(request, m_hWnd, WM_CALL_FINISHED)) return;
    SetSending(TRUE);
    SetDlgItemText(IDC_CALL_STATUS, ("Sending " + pOperation->strName + " to " + request.endpoint + "...").c_str());
    m_answer.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

void CServiceCallWindow::CancelCall() {
    m_sender.Cancel();
}

LRESULT CServiceCallWindow::OnCallFinished(WPARAM, LPARAM) {
    if (!m_sender.IsSending()) return 0;
    const SoapCallResult result = m_sender.Finish();
    SetSending(FALSE);
    SetDlgItemText(IDC_CALL_STATUS, CallOutcomeText(result).c_str());
    const std::string strAnswer = result.body.empty() ? std::string() : indentXml(result.body);
    m_answer.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strAnswer.c_str()));
    m_answer.SetCurPos(1, 1);
    m_answer.Invalidate(FALSE);
    m_sending.status = result.status;
    m_sending.outcome = CallOutcomeWord(result.outcome);
    std::string strFailure;
    if (!CallHistory(ProjectFolder()).append(m_sending, strFailure))
        SetDlgItemText(IDC_CALL_STATUS, (StatusText() + "\r\nThe request was not kept in the history: " + strFailure).c_str());
    m_history.push_back(m_sending);
    ShowHistory();
    return 0;
}

void CServiceCallWindow::ShowHistory() {
    auto* pList = static_cast<CListBox*>(GetDlgItem(IDC_CALL_HISTORY));
    pList->ResetContent();
    for (const CallRecord& record : m_history) {
        const std::string strLine = record.when + "  " + record.operation + "  " + record.endpoint + "  (" +
                                    (record.status ? std::to_string(record.status) + ", " : std::string()) +
                                    record.outcome + ")";
        pList->AddString(strLine.c_str());
    }
    if (!m_history.empty()) pList->SetCurSel(static_cast<int>(m_history.size()) - 1);
}

BOOL CServiceCallWindow::Reopen(int nEntry) {
    if (nEntry < 0 || nEntry >= static_cast<int>(m_history.size()) || m_sender.IsSending()) return FALSE;
    const CallRecord record = m_history[nEntry];
    if (!SelectPort(record.port) || !SelectOperation(record.operation)) {
        // Whichever operation stayed selected is not the one this request was for.
        ::SendDlgItemMessageA(m_hWnd, IDC_CALL_OPERATION, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetDlgItemText(IDC_CALL_STATUS, ("The service has no operation " + record.operation + " on the port " + record.port +
                                         " any more: the request is shown as it was sent; pick an operation to send it.")
                                            .c_str());
    }
    SetDlgItemText(IDC_CALL_ENDPOINT, record.endpoint.c_str());
    m_request.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(record.envelope.c_str()));
    m_request.SetCurPos(1, 1);
    m_request.Invalidate(FALSE);
    return TRUE;
}

void CServiceCallWindow::OnReopenClicked() {
    Reopen(static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_HISTORY, LB_GETCURSEL, 0, 0)));
}

void CServiceCallWindow::OnHistoryDoubleClicked() {
    OnReopenClicked();
}

void CServiceCallWindow::ClearProblemMarks() {
    for (int nRow : m_markedRows) {
        m_request.GetBuffer()->GetLineMarksManager()->DeleteMark(nRow, kProblemMark);
        m_request.SetRowBkColor(nRow, RGB(255, 255, 255));
    }
    m_markedRows.clear();
    m_problems.clear();
    if (CWnd* pList = GetDlgItem(IDC_CALL_PROBLEMS)) pList->SendMessage(LB_RESETCONTENT);
}

const std::vector<RequestProblem>& CServiceCallWindow::Check() {
    ClearProblemMarks();
    const CCallPort* pPort = CurrentPort();
    const CCallOperation* pOperation = CurrentOperation();
    if (!pPort || !pOperation || !m_pFrame) return m_problems;
    // The reading the window opened with serves every check until the document changes on disk.
    CallService* pService = m_pFrame->ReadCallService();
    if (!pService) {
        SetDlgItemText(IDC_CALL_STATUS, "The request was not checked: the WSDL document was not read (the Output pane says why).");
        return m_problems;
    }
    const CViewOperation* pViewOperation = FindViewOperation(pService->view(), *pPort, pOperation->strName);
    if (!pViewOperation) {
        SetDlgItemText(IDC_CALL_STATUS, ("The request was not checked: the WSDL document, changed since, has no operation " +
                                         pOperation->strName + " on the port " + pPort->strName + " any more.")
                                            .c_str());
        return m_problems;
    }
    m_problems = checkRequest(pService->schemas(), *pViewOperation, EditorText(m_request));
    MarkProblems();
    return m_problems;
}

void CServiceCallWindow::MarkProblems() {
    auto* pList = static_cast<CListBox*>(GetDlgItem(IDC_CALL_PROBLEMS));
    for (const RequestProblem& problem : m_problems) {
        const std::string strLine =
            "line " + std::to_string(problem.line) + ", column " + std::to_string(problem.column) + ": " + problem.message;
        pList->AddString(strLine.c_str());
        if (problem.line < 1 || problem.line > m_request.GetRowCount()) continue;
        m_request.GetBuffer()->GetLineMarksManager()->SetMark(problem.line, kProblemMark);
        m_request.SetRowBkColor(problem.line, kProblemRowColor);
        m_markedRows.push_back(problem.line);
    }
    SetDlgItemText(IDC_CALL_STATUS, m_problems.empty() ? "The request is valid against the service's schemas."
                                                       : (std::to_string(m_problems.size()) + " problem(s) in the request.").c_str());
    m_request.Invalidate(FALSE);
}

void CServiceCallWindow::OnProblemChosen() {
    const int nProblem = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_PROBLEMS, LB_GETCURSEL, 0, 0));
    if (nProblem < 0 || nProblem >= static_cast<int>(m_problems.size())) return;
    const RequestProblem& problem = m_problems[nProblem];
    m_request.SetCurPos(problem.line, problem.column > 0 ? problem.column : 1);
    m_request.EnsureVisible(problem.line, 1, TRUE);
    m_request.SetFocus();
}

void CServiceCallWindow::OnSettingsClicked() {
    CServiceCallSettingsDialog dlg(
        m_settings, [this](const CallSettings& settings, std::string& strWhy) { return SettingsStore().save(settings, strWhy); },
        this);
    dlg.DoModal();
}

CallSettingsStore CServiceCallWindow::SettingsStore() const {
    return CallSettingsStore(ProjectFolder(), m_protection);
}

void CServiceCallWindow::SaveSettings() {
    std::string strFailure;
    if (!SettingsStore().save(m_settings, strFailure)) ShowErrorBox(this, ("The call settings were not saved: " + strFailure).c_str());
}

void CServiceCallWindow::StartOrStopMock() {
    if (m_mock.IsStarted()) {
        m_mock.Stop();
        KillTimer(timerMock);
        ShowMockState();
        return;
    }
    const CProjectRecord* pProject = m_pFrame ? m_pFrame->GetProject() : nullptr;
    if (!pProject) return;
    const int nPort = std::atoi(ControlText(IDC_CALL_MOCK_PORT).c_str());
    std::string strFailure;
    if (nPort < 0 || nPort > 65535) {
        SetDlgItemText(IDC_CALL_MOCK_STATE, "The port is a number from 0 (any free port) to 65535.");
        return;
    }
    if (!m_mock.Start(demoProduct(*pProject), nPort, joinProjectPath(pProject->location, pProject->name + "_mock.log"), strFailure)) {
        SetDlgItemText(IDC_CALL_MOCK_STATE, strFailure.c_str());
        return;
    }
    SetTimer(timerMock, 200, nullptr);
    ShowMockState();
}

void CServiceCallWindow::ShowMockState() {
    std::string strState;
    DWORD nExitCode = 0;
    if (!m_mock.IsStarted()) {
        strState = "The mock service is stopped.";
    } else if (m_mock.HasEnded(nExitCode)) {
        strState = "The mock service ended with code " + std::to_string(nExitCode) + " (see " + m_mock.LogPath() + ").";
        m_mock.Stop();
        KillTimer(timerMock);
    } else if (const int nPort = m_mock.ServingPort()) {
        // Still watched while it serves: a mock that dies is told, not left looking alive.
        strState = "The mock service answers on http://127.0.0.1:" + std::to_string(nPort) + "/";
    } else {
        strState = "The mock service is starting...";
    }
    // The timer repeats the same words while it serves; setting them again would only flicker.
    if (ControlText(IDC_CALL_MOCK_STATE) != strState) SetDlgItemText(IDC_CALL_MOCK_STATE, strState.c_str());
    SetDlgItemText(IDC_CALL_MOCK, m_mock.IsStarted() ? "Stop &Mock Service" : "Start &Mock Service");
}

void CServiceCallWindow::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == timerMock) ShowMockState();
}

void CServiceCallWindow::OnCancel() {
    DestroyWindow();
}

void CServiceCallWindow::OnDestroy() {
    KillTimer(timerMock);
    m_mock.Stop();
    if (m_sender.IsSending()) {
        m_sender.Cancel();
        m_sender.Finish();
    }
    CDialog::OnDestroy();
}
