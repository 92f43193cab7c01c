// The "Call the Service" window driven with messages in the program: the example calculator's real
// server answers Add with the sum, a fault and a transport failure are told in words, Cancel ends a
// call that gets no answer, the check marks the row of a wrong value, the history brings a request
// back, and the project's demo serves as a mock that the example's generated client calls.
// The loopback servers' sockets come before the program's headers bring windows.h.
#include "support/LoopbackHttpServer.h"

#include "AppTestHost.h"

#include <wincrypt.h>

#include "app/CompilerSearch.h"
#include "app/DpapiProtect.h"
#include "app/LoggedProcess.h"
#include "app/MockService.h"
#include "app/ServiceCallLayout.h"
#include "app/ServiceCallWindow.h"
#include "project/BuildCommandLines.h"
#include "project/call/CallService.h"
#include "project/call/FieldText.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>

using namespace apptest;

namespace {

// The text with its line ends as "\n": the editor keeps rows, which it gives back joined by "\r\n".
std::string Lines(std::string strText) {
    strText.erase(std::remove(strText.begin(), strText.end(), '\r'), strText.end());
    return strText;
}

bool Contains(const std::string& strText, const std::string& strPart) {
    return strText.find(strPart) != std::string::npos;
}

std::string BytesOfHex(const std::string& strHex) {
    std::string strBytes;
    for (size_t i = 0; i + 1 < strHex.size(); i += 2) strBytes += static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16));
    return strBytes;
}

// What the system's CryptUnprotectData itself makes of the bytes: the text and the description
// they were protected with; false when it refuses them.
bool SystemUnprotect(const std::string& strProtected, std::string& strClear, std::wstring& strDescription) {
    DATA_BLOB in{static_cast<DWORD>(strProtected.size()), reinterpret_cast<BYTE*>(const_cast<char*>(strProtected.data()))};
    DATA_BLOB out{0, nullptr};
    LPWSTR lpszDescription = nullptr;
    if (!::CryptUnprotectData(&in, &lpszDescription, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return false;
    strClear.assign(reinterpret_cast<const char*>(out.pbData), out.cbData);
    strDescription = lpszDescription ? lpszDescription : L"";
    ::LocalFree(out.pbData);
    ::LocalFree(lpszDescription);
    return true;
}

// What this system's data protection does beyond turning the bytes back: whether a probe's text
// is hidden in its protected form, and whether a damaged form is refused.
struct CProtectionStrength {
    bool bHides = false;
    bool bRefusesDamage = false;
};

CProtectionStrength ProbeProtection() {
    const std::string strProbe = "a probe the protection should hide, 0123456789";
    std::string strProtected, strWhy;
    EXPECT_TRUE(DpapiProtect(strProbe, strProtected, strWhy)) << strWhy;
    CProtectionStrength strength;
    strength.bHides = !strProtected.empty() && !Contains(strProtected, strProbe);
    std::string strDamaged = strProtected, strBack;
    if (!strDamaged.empty()) strDamaged[strDamaged.size() / 2] ^= 0x5a;
    strength.bRefusesDamage = !strDamaged.empty() && !DpapiUnprotect(strDamaged, strBack);
    if (!strength.bHides)
        std::cout << "This system's data protection leaves the text readable: the not-readable checks are skipped" << std::endl;
    if (!strength.bRefusesDamage)
        std::cout << "This system's data protection takes damaged bytes: the damage checks are skipped" << std::endl;
    return strength;
}

// A program of the test started with its output in a file; ended when it goes.
class CStartedProgram : public CLoggedProcess {
public:
    CStartedProgram(const std::string& strCommandLine, const std::string& strFolder, const std::string& strOutput) {
        std::string strFailure;
        EXPECT_TRUE(Start(strCommandLine, strFolder, strOutput, strFailure)) << strFailure;
    }
    int Wait() const { return CLoggedProcess::Wait(120000); }
};

class ServiceCallTest : public AppTest {
protected:
    // A project on the example's document, made current without File New.
    void UseCalculator() {
        std::filesystem::copy_file(Frame().applicationFolder() + "example\\calculator.wsdl", Folder() + "calculator.wsdl");
        UseProject(CProjectRecord::Windows, "calculator");
    }
    CServiceCallWindow& Window() {
        Command(ID_CALL_SERVICE);
        CServiceCallWindow* pWindow = Frame().GetServiceCallWindow();
        if (!pWindow || !pWindow->GetSafeHwnd()) throw std::runtime_error("the call window did not open: " + OutputText());
        return *pWindow;
    }
    static void SetRequest(CServiceCallWindow& window, const std::string& strEnvelope) {
        window.RequestEditor().SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strEnvelope.c_str()));
    }
    static void SetEndpoint(CServiceCallWindow& window, const std::string& strEndpoint) {
        window.SetDlgItemText(IDC_CALL_ENDPOINT, strEndpoint.c_str());
    }
    // Sends as the Send button does, then pumps until the answer is shown.
    static bool SendAndWait(CServiceCallWindow& window) {
        window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALL_SEND, BN_CLICKED),
                           reinterpret_cast<LPARAM>(window.GetDlgItem(IDC_CALL_SEND)->GetSafeHwnd()));
        return PumpUntilDoneOrHung([&] { return !window.IsSending(); });
    }
    // A TLS server whose certificate, signed by itself, no system trusts: the machine's openssl,
    // which Wine runs as a Unix program beside this one until the frame stops it. Its address.
    // As a web server it reads no input: reading its empty input, it would close each connection
    // before the handshake, which the client can only call refused.
    std::string StartUntrustedTlsServer(bool& bEnded) {
        CBuildJob job;
        job.folder = Folder();
        job.steps.push_back(CBuildStep{{KELVANE_CALL_TEST_OPENSSL, "s_server", "-www", "-accept", "127.0.0.1:0", "-cert",
                                        KELVANE_CALL_TEST_CERTIFICATE, "-key", KELVANE_CALL_TEST_KEY}});
        job.finished = [&bEnded](const CBuildOutcome&) { bEnded = true; };
        if (!Frame().runBuild(job)) return std::string();
        static const char kAccept[] = "ACCEPT 127.0.0.1:";
        if (!PumpUntilDoneOrHung([&] { return Contains(OutputText(), kAccept) || bEnded; }) || bEnded) return std::string();
        const std::string strOutput = OutputText();
        return "https://127.0.0.1:" + std::to_string(std::atoi(strOutput.c_str() + strOutput.find(kAccept) + sizeof(kAccept) - 1)) +
               "/calculator";
    }
    static std::string AddRequest(const char* lpszA, const char* lpszB) {
        return std::string("<?xml version=\"1.0\"?>\r\n<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                           "xmlns:c=\"urn:kelvane:calculator\">\r\n  <soap:Body>\r\n    <c:Add>\r\n      <c:a>") +
               lpszA + "</c:a>\r\n      <c:b>" + lpszB + "</c:b>\r\n    </c:Add>\r\n  </soap:Body>\r\n</soap:Envelope>";
    }
};

TEST_F(ServiceCallTest, TheCommandOffersEachOperationWithTheSampleRequestAndEndsWithTheProject) {
    EXPECT_EQ(Enabled(ID_CALL_SERVICE), 0) << "no project is open";
    UseCalculator();
    EXPECT_EQ(Enabled(ID_CALL_SERVICE), 1);
    CServiceCallWindow& window = Window();
    ASSERT_EQ(window.Ports().size(), 1u);
    std::vector<std::string> operations;
    for (const CCallOperation& operation : window.Ports()[0].operations) operations.push_back(operation.strName);
    EXPECT_EQ(operations, (std::vector<std::string>{"Add", "Greet"}));
    EXPECT_EQ(window.Ports()[0].strAddress, "http://127.0.0.1:4321/calculator");
    EXPECT_EQ(Lines(window.RequestText()), Lines(window.Ports()[0].operations[0].strEnvelope)) << "the first operation's sample";
    ASSERT_TRUE(window.SelectOperation("Greet"));
    EXPECT_TRUE(Contains(window.RequestText(), "Greet>")) << window.RequestText();
    EXPECT_FALSE(Contains(window.RequestText(), "Add>"));
    // The demo is not built: the mock service says so instead of failing unseen.
    window.StartOrStopMock();
    EXPECT_TRUE(Contains(window.MockStateText(), "is not built yet")) << window.MockStateText();
    EXPECT_FALSE(window.Mock().IsStarted());

    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_FALSE(::IsWindow(window.GetSafeHwnd())) << "the window goes with its project";
    EXPECT_EQ(Enabled(ID_CALL_SERVICE), 0);
}

// A port type bound in SOAP 1.1 and 1.2 offers each port the envelope of its own binding; a port
// of an HTTP binding is not offered.
TEST_F(ServiceCallTest, EachSoapPortOffersTheEnvelopeOfItsBindingsVersion) {
    std::filesystem::copy_file(KELVANE_CORPUS_DIR "/wsdl/savon/blz_service.wsdl", Folder() + "blz.wsdl");
    UseProject(CProjectRecord::Windows, "blz");
    CServiceCallWindow& window = Window();
    const struct {
        const char* lpszPort;
        const char* lpszEnvelopeNamespace;
        const char* lpszContentType;
    } ports[] = {
        {"BLZServiceSOAP11port_http", "http://schemas.xmlsoap.org/soap/envelope/", "text/xml"},
        {"BLZServiceSOAP12port_http", "http://www.w3.org/2003/05/soap-envelope", "application/soap+xml"},
    };
    ASSERT_EQ(window.Ports().size(), std::size(ports));
    for (size_t i = 0; i < std::size(ports); ++i) {
        const CCallPort& port = window.Ports()[i];
        EXPECT_EQ(port.strName, ports[i].lpszPort);
        EXPECT_EQ(port.strAddress, "http://www.thomas-bayer.com:80/axis2/services/BLZService");
        ASSERT_EQ(port.operations.size(), 1u);
        EXPECT_EQ(port.operations[0].strName, "getBank");
        EXPECT_TRUE(Contains(port.operations[0].strEnvelope, ports[i].lpszEnvelopeNamespace)) << port.operations[0].strEnvelope;
        EXPECT_EQ(port.operations[0].strContentType.rfind(ports[i].lpszContentType, 0), 0u) << port.operations[0].strContentType;
        ASSERT_TRUE(window.SelectPort(ports[i].lpszPort));
        EXPECT_EQ(Lines(window.RequestText()), Lines(port.operations[0].strEnvelope));
    }
}

TEST_F(ServiceCallTest, ADoubleClickOnTheSolutionsRootOpensTheWindow) {
    UseCalculator();
    COfficeTreeCtrl& tree = Tree();
    tree.SelectItem(tree.GetRootItem());
    NMHDR hdr{tree.GetSafeHwnd(), static_cast<UINT_PTR>(tree.GetDlgCtrlID()), static_cast<UINT>(NM_DBLCLK)};
    Frame().m_wndSolutionExplorer.SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    ASSERT_NE(Frame().GetServiceCallWindow(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(Frame().GetServiceCallWindow()->GetSafeHwnd()));
}

TEST_F(ServiceCallTest, TheCheckMarksTheRowOfAWrongValueOnly) {
    UseCalculator();
    CServiceCallWindow& window = Window();
    EXPECT_TRUE(window.Check().empty()) << "the sample request is valid: " << window.StatusText();
    SetRequest(window, AddRequest("2", "three"));
    const std::vector<RequestProblem>& problems = window.Check();
    ASSERT_EQ(problems.size(), 1u) << window.StatusText();
    EXPECT_EQ(problems[0].line, 6) << problems[0].message;
    for (int nRow = 1; nRow <= window.RequestEditor().GetRowCount(); ++nRow)
        EXPECT_EQ(window.RequestEditor().HasRowMark(nRow, "Bookmark") != FALSE, nRow == 6) << "row " << nRow;
    EXPECT_EQ(window.GetDlgItem(IDC_CALL_PROBLEMS)->SendMessage(LB_GETCOUNT), 1);
    SetRequest(window, AddRequest("2", "3"));
    EXPECT_TRUE(window.Check().empty());
    EXPECT_FALSE(window.RequestEditor().HasRowMark(6, "Bookmark")) << "a new check takes the old marks away";
}

// The window and every check use one reading of the document, kept with the project until the
// document changes on disk; the Output pane keeps what it showed, the reading's lines after it.
TEST_F(ServiceCallTest, ChecksUseTheProjectsReadingUntilTheDocumentChanges) {
    UseCalculator();
    Frame().setOutput("Successfully Generated!\r\n");
    CServiceCallWindow& window = Window();
    ASSERT_NE(Frame().GetCallService(), nullptr);
    EXPECT_EQ(Frame().GetCallService()->readings(), 1);
    SetRequest(window, AddRequest("2", "three"));
    for (int nCheck = 0; nCheck < 3; ++nCheck) EXPECT_EQ(window.Check().size(), 1u) << window.StatusText();
    window.Close();
    Window();
    EXPECT_EQ(Frame().GetCallService()->readings(), 1) << "the checks and the window opened again read nothing";
    const std::string strOutput = OutputText();
    EXPECT_EQ(strOutput.rfind("Successfully Generated!\r\nCall the Service reads ", 0), 0u) << strOutput;

    // b becomes a string: the next check reads the document again and takes "three".
    const std::string strWsdl = Frame().GetProject()->wsdlPath;
    std::string strText = testsupport::readBytes(strWsdl);
    const std::string strIntB = "name=\"b\" type=\"xsd:int\"";
    ASSERT_NE(strText.find(strIntB), std::string::npos);
    strText.replace(strText.find(strIntB), strIntB.size(), "name=\"b\" type=\"xsd:string\"");
    testsupport::writeBytes(strWsdl, strText);
    CServiceCallWindow& again = *Frame().GetServiceCallWindow();
    SetRequest(again, AddRequest("2", "three"));
    EXPECT_TRUE(again.Check().empty()) << again.StatusText();
    EXPECT_EQ(Frame().GetCallService()->readings(), 2);
    EXPECT_TRUE(again.Check().empty());
    EXPECT_EQ(Frame().GetCallService()->readings(), 2);

    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_EQ(Frame().GetCallService(), nullptr) << "the reading goes with its project";
}

TEST_F(ServiceCallTest, ARefusedCertificateAWrongPasswordAndADeadProxyEachSayWhy) {
    UseCalculator();
    bool bTlsEnded = false;
    const std::string strTls = StartUntrustedTlsServer(bTlsEnded);
    ASSERT_FALSE(strTls.empty()) << OutputText();
    testsupport::LoopbackHttpServer http;
    http.serve("/calculator", testsupport::LoopbackHttpServer::Reply{401, "no", false, false, "", "Unauthorized"});
    CServiceCallWindow& window = Window();
    const struct {
        const char* lpszCase;
        std::string strEndpoint;
        std::function<void(CallSettings&)> settle;
        const char* lpszWords;
        const char* lpszAlso = "";
    } cases[] = {
        {"untrusted certificate", strTls, [](CallSettings&) {}, "certificate or TLS failure"},
        // The system's store alone decides: a CA file given does not pass for trusted.
        {"untrusted certificate with a CA file", strTls,
         [](CallSettings& settings) { settings.caFile = KELVANE_CALL_TEST_CERTIFICATE; }, "certificate or TLS failure",
         "(the CA file " KELVANE_CALL_TEST_CERTIFICATE " is not used on Windows: the system's certificate store decides"},
        {"wrong password", http.url("/calculator"),
         [](CallSettings& settings) {
             settings.auth = CallSettings::AuthBasic;
             settings.user = "someone";
             settings.password = "wrong";
         },
         "authentication failed"},
        {"dead proxy", "http://127.0.0.1:4321/calculator",
         [&](CallSettings& settings) { settings.proxy = "127.0.0.1:" + std::to_string(http.closedPort()); }, "proxy failure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszCase);
        window.Settings() = CallSettings{};
        c.settle(window.Settings());
        SetEndpoint(window, c.strEndpoint);
        ASSERT_TRUE(SendAndWait(window));
        const std::string strStatus = window.StatusText();
        EXPECT_EQ(strStatus.rfind(std::string("The call failed (") + c.lpszWords + "): ", 0), 0u) << strStatus;
        EXPECT_TRUE(Contains(strStatus, "127.0.0.1")) << "the words name the address: " << strStatus;
        EXPECT_TRUE(Contains(strStatus, c.lpszAlso)) << strStatus;
    }
}

TEST_F(ServiceCallTest, CancelEndsACallToAServerThatNeverAnswers) {
    UseCalculator();
    testsupport::LoopbackHttpServer http;
    testsupport::LoopbackHttpServer::Reply hang;
    hang.hang = true;
    http.serve("/calculator", hang);
    CServiceCallWindow& window = Window();
    window.Settings().timeoutSeconds = 600;
    SetEndpoint(window, http.url("/calculator"));
    window.Send();
    ASSERT_TRUE(window.IsSending());
    EXPECT_FALSE(window.GetDlgItem(IDC_CALL_SEND)->IsWindowEnabled());
    EXPECT_TRUE(window.GetDlgItem(IDC_CALL_CANCEL)->IsWindowEnabled());
    // The server holds the request, unanswered, before the user cancels.
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return http.requestCount("/calculator") == 1; }));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALL_CANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(window.GetDlgItem(IDC_CALL_CANCEL)->GetSafeHwnd()));
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return !window.IsSending(); }));
    EXPECT_EQ(window.StatusText().rfind("The call failed (cancelled)", 0), 0u) << window.StatusText();
    EXPECT_TRUE(window.GetDlgItem(IDC_CALL_SEND)->IsWindowEnabled());
    ASSERT_EQ(window.History().size(), 1u);
    EXPECT_EQ(window.History()[0].outcome, "cancelled");
}

TEST_F(ServiceCallTest, PasswordsAreKeptProtectedAndComeBack) {
    UseCalculator();
    CServiceCallWindow& window = Window();
    window.Settings().password = "service-secret-1";
    window.Settings().proxyPassword = "proxy-secret-2";
    window.Settings().user = "alice";
    window.SaveSettings();
    std::string strSettings;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder())) {
        if (!entry.is_regular_file()) continue;
        const std::string strText = testsupport::readBytes(entry.path().string());
        EXPECT_FALSE(Contains(strText, "service-secret-1")) << entry.path();
        EXPECT_FALSE(Contains(strText, "proxy-secret-2")) << entry.path();
        if (entry.path().filename() == "call.settings") strSettings = strText;
    }
    // Each password is kept as the bytes the system's protection made of it, with our description.
    std::map<std::string, std::string> kept;
    FieldText fields(strSettings);
    for (std::string strName, strValue; fields.next(strName, strValue);) kept[strName] = strValue;
    for (const auto& [strField, strPassword] : {std::pair<std::string, std::string>{"password", "service-secret-1"},
                                               std::pair<std::string, std::string>{"proxy-password", "proxy-secret-2"}}) {
        SCOPED_TRACE(strField);
        std::string strClear;
        std::wstring strDescription;
        ASSERT_TRUE(SystemUnprotect(BytesOfHex(kept[strField]), strClear, strDescription)) << strSettings;
        EXPECT_EQ(strClear, strPassword);
        EXPECT_EQ(strDescription, L"Kelvane call settings");
    }
    window.Close();
    CServiceCallWindow& again = Window();
    EXPECT_EQ(again.Settings().password, "service-secret-1");
    EXPECT_EQ(again.Settings().proxyPassword, "proxy-secret-2");
    EXPECT_EQ(again.Settings().user, "alice");
}

// When the system will not protect a password, OK saves nothing and says why, and the dialog stays
// open with what was typed: the password is never kept empty in its stead.
TEST_F(ServiceCallTest, APasswordTheSystemWillNotProtectKeepsTheSettingsDialogOpen) {
    UseCalculator();
    CServiceCallWindow& window = Window();
    window.Settings().user = "alice";
    window.SaveSettings();
    const std::string strPath = Folder() + "call.settings";
    const std::string strKept = testsupport::readBytes(strPath);
    window.SetSecretProtection(SecretProtection{[](const std::string&, std::string&, std::string& strWhy) {
                                                    strWhy = "the system's data protection refused it (error 5: Access denied)";
                                                    return false;
                                                },
                                                DpapiUnprotect});
    Record().boxes.clear();
    bool bStayedOpen = false;
    std::string strTyped;
    CString strCaNote;
    InNextDialog("Call Settings", [&](CWnd& dlg) {
        SetControlText(dlg, IDC_CALL_USER, "bob");
        SetControlText(dlg, IDC_CALL_PASSWORD, "typed secret");
        // Shown as the modal loop shows it: a dialog that ends hides itself.
        dlg.ShowWindow(SW_SHOW);
        Click(dlg, IDOK);
        bStayedOpen = ::IsWindowVisible(dlg.GetSafeHwnd()) != FALSE;
        dlg.GetDlgItemText(IDC_CALL_CA_NOTE, strCaNote);
        CString strText;
        dlg.GetDlgItemText(IDC_CALL_PASSWORD, strText);
        strTyped = static_cast<LPCSTR>(strText);
        Click(dlg, IDCANCEL);
    });
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALL_SETTINGS, BN_CLICKED),
                       reinterpret_cast<LPARAM>(window.GetDlgItem(IDC_CALL_SETTINGS)->GetSafeHwnd()));
    EXPECT_TRUE(bStayedOpen);
    EXPECT_EQ(strTyped, "typed secret");
    EXPECT_TRUE(Contains(static_cast<LPCSTR>(strCaNote), "Not used on Windows")) << "the dialog says the CA file is not used";
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(Record().boxes[0], "The call settings were not saved: the password could not be protected for keeping: the system's "
                                 "data protection refused it (error 5: Access denied).");
    EXPECT_EQ(window.Settings().user, "alice") << "cancelled: the window keeps what it had";
    EXPECT_EQ(window.Settings().password, "");
    EXPECT_EQ(testsupport::readBytes(strPath), strKept);
}

// A request kept for an operation the service no longer has is shown, but goes nowhere as another
// operation: Send asks for one to be picked.
TEST_F(ServiceCallTest, AHistoryEntryWhoseOperationIsGoneIsNotSentAsAnother) {
    UseCalculator();
    CServiceCallWindow& first = Window();
    CallRecord gone;
    gone.when = "2026-12-10T11:30:00Z";
    gone.port = first.Ports().at(0).strName;
    gone.operation = "Subtract";
    gone.endpoint = "http://127.0.0.1:9/calculator";
    gone.envelope = "<kept/>";
    gone.outcome = "Refused";
    first.Close();
    std::string strWhy;
    ASSERT_TRUE(CallHistory(Folder()).append(gone, strWhy)) << strWhy;
    CServiceCallWindow& window = Window();
    ASSERT_EQ(window.History().size(), 1u);
    ASSERT_TRUE(window.Reopen(0));
    EXPECT_TRUE(Contains(window.StatusText(), "no operation Subtract")) << window.StatusText();
    EXPECT_EQ(window.RequestText(), "<kept/>");
    ASSERT_TRUE(SendAndWait(window));
    EXPECT_EQ(window.StatusText(), "Pick a port and an operation to send the request with.");
    EXPECT_EQ(window.History().size(), 1u) << "nothing was sent";
    ASSERT_TRUE(window.SelectOperation("Add"));
    EXPECT_TRUE(Contains(window.RequestText(), "Add>")) << "picking one shows its sample";
}

TEST_F(ServiceCallTest, ProtectedTextComesBackOnlyWhole) {
    const CProtectionStrength strength = ProbeProtection();
    for (const std::string& strClear : {std::string(), std::string("p"), std::string("pass word\xc3\xa9\x01\0z", 13)}) {
        SCOPED_TRACE(strClear.size());
        std::string strProtected, strWhy;
        EXPECT_TRUE(DpapiProtect(strClear, strProtected, strWhy)) << strWhy;
        EXPECT_EQ(strProtected.empty(), strClear.empty());
        std::string strBack = "left over";
        EXPECT_TRUE(DpapiUnprotect(strProtected, strBack));
        EXPECT_EQ(strBack, strClear);
        if (strProtected.empty()) continue;
        // The bytes are the system's own work: it turns them back itself and finds our description.
        std::wstring strDescription;
        ASSERT_TRUE(SystemUnprotect(strProtected, strBack, strDescription));
        EXPECT_EQ(strBack, strClear);
        EXPECT_EQ(strDescription, L"Kelvane call settings");
        EXPECT_FALSE(DpapiUnprotect(strProtected.substr(1), strBack)) << "cut short";
        // A byte or two turns up in any random bytes: only a longer text is looked for.
        if (strength.bHides && strClear.size() > 8) {
            EXPECT_FALSE(Contains(strProtected, strClear));
        }
        if (!strength.bRefusesDamage) continue;
        std::string strDamaged = strProtected;
        strDamaged[strDamaged.size() / 2] ^= 0x5a;
        EXPECT_FALSE(DpapiUnprotect(strDamaged, strBack));
    }
}

// The window on a large real service: how long it takes from the command to the first answer shown
// (printed for the record, not judged: the machine's load decides it).
TEST_F(ServiceCallTest, ALargeServiceOpensAndShowsItsFirstAnswer) {
    std::filesystem::copy_file(KELVANE_CORPUS_DIR "/wsdl/savon/economic.wsdl", Folder() + "economic.wsdl");
    UseProject(CProjectRecord::Windows, "economic");
    testsupport::LoopbackHttpServer http;
    http.serve("/economic", testsupport::LoopbackHttpServer::Reply{
                                200, "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><r>1</r></s:Body></s:Envelope>"});
    const ULONGLONG nStart = ::GetTickCount64();
    CServiceCallWindow& window = Window();
    const ULONGLONG nOpened = ::GetTickCount64();
    size_t nOperations = 0;
    for (const CCallPort& port : window.Ports()) nOperations += port.operations.size();
    EXPECT_GT(nOperations, 100u);
    EXPECT_FALSE(window.RequestText().empty());
    SetEndpoint(window, http.url("/economic"));
    ASSERT_TRUE(SendAndWait(window));
    EXPECT_EQ(window.StatusText().rfind("HTTP 200 ", 0), 0u) << window.StatusText();
    std::cout << "economic.wsdl (" << window.Ports().size() << " ports, " << nOperations << " operations): window open in "
              << (nOpened - nStart) << " ms, first answer shown " << (::GetTickCount64() - nStart) << " ms after the command"
              << std::endl;
}

// The example's real server, built with the machine's mingw-w64 compiler beside the demo and the
// example's client, which calls Add on the address it is given.
class CalculatorRoadTest : public ServiceCallTest {
protected:
    void SetUp() override {
        m_strGcc = FindDefaultGcc();
        ASSERT_FALSE(m_strGcc.empty()) << "no mingw-w64 gcc on this machine";
        m_strLocation = Folder() + "calculator\\";
        std::filesystem::create_directory(m_strLocation);
        const std::string strWsdl = Frame().applicationFolder() + "example\\calculator.wsdl";
        InNextDialog("New Project", [&](CWnd& dlg) {
            SetControlText(dlg, IDC_WSDL_FILE, strWsdl.c_str());
            SetControlText(dlg, IDC_NAME, "calculator");
            SelectEntry(dlg, IDC_TARGET_PLATFORM, "Windows");
            SetControlText(dlg, IDC_LOCATION, m_strLocation.c_str());
            Click(dlg, IDOK);
        });
        Command(ID_FILE_NEW_PROJECT);
        ASSERT_NE(Frame().GetProject(), nullptr);
        Command(ID_GENERATE_CODE);
        // The generated sources go to disk as Compile Demo would save them.
        Command(ID_FILE_SAVE_PROJECT);
        for (const char* lpszFile : {"calculator_server.c", "add.c"})
            std::filesystem::copy_file(Frame().applicationFolder() + "example\\" + lpszFile, m_strLocation + lpszFile);
        ASSERT_TRUE(BuildPrograms()) << OutputText();
    }
    // The demo, and the server and the client the way the demo is built.
    bool BuildPrograms() {
        CBuildJob job;
        job.folder = m_strLocation;
        const CBuildStep demo = gccDemoSteps(*Frame().GetProject(), m_strGcc).front();
        job.steps.push_back(demo);
        for (const std::string strProgram : {"calculator_server", "add"}) {
            CBuildStep step = demo;
            for (std::string& strArgument : step.arguments) {
                if (strArgument == "calculator_demo.exe") strArgument = strProgram + ".exe";
                if (strArgument == "calculator_api_demo.c") strArgument = strProgram + ".c";
            }
            job.steps.push_back(step);
        }
        bool bEnded = false, bBuilt = false;
        job.finished = [&](const CBuildOutcome& outcome) {
            bEnded = true;
            bBuilt = outcome.started && outcome.failure.empty() && outcome.exitCode == 0;
        };
        if (!Frame().runBuild(job)) return false;
        return PumpUntilDoneOrHung([&] { return bEnded; }, 600000) && bBuilt;
    }
    std::string m_strGcc;
    std::string m_strLocation;
};

TEST_F(CalculatorRoadTest, TheRealServerAnswersTheHistoryReopensAndTheMockAnswersTheGeneratedClient) {
    CStartedProgram server("\"" + m_strLocation + "calculator_server.exe\" 0", m_strLocation, Folder() + "server.txt");
    ASSERT_TRUE(server.IsStarted());
    std::string strListening;
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return Contains(strListening = server.Output(), "listens on 127.0.0.1:"); }));
    const std::string strPort = strListening.substr(strListening.find("127.0.0.1:") + 10, strListening.find_first_of("\r\n", strListening.find("127.0.0.1:")) - strListening.find("127.0.0.1:") - 10);
    const std::string strEndpoint = "http://127.0.0.1:" + strPort + "/calculator";

    CServiceCallWindow& window = Window();
    SetEndpoint(window, strEndpoint);
    SetRequest(window, AddRequest("20", "22"));
    ASSERT_TRUE(SendAndWait(window));
    EXPECT_EQ(window.StatusText().rfind("HTTP 200 ", 0), 0u) << window.StatusText();
    EXPECT_TRUE(Contains(window.AnswerText(), ">42</")) << window.AnswerText();
    EXPECT_TRUE(Contains(window.AnswerText(), "\r\n")) << "indented";

    // A value the server cannot read comes back as a fault, told in plain words.
    SetRequest(window, AddRequest("twenty", "22"));
    ASSERT_TRUE(SendAndWait(window));
    EXPECT_TRUE(Contains(window.StatusText(), "The service answered with a fault:\r\n")) << window.StatusText();
    EXPECT_TRUE(Contains(window.StatusText(), "HTTP 500")) << window.StatusText();

    // The history outlives the window and sends the same request again.
    window.Close();
    CServiceCallWindow& again = Window();
    ASSERT_EQ(again.History().size(), 2u);
    EXPECT_EQ(again.History()[0].operation, "Add");
    EXPECT_EQ(again.History()[0].status, 200);
    ASSERT_TRUE(again.Reopen(0));
    EXPECT_EQ(again.RequestText(), AddRequest("20", "22"));
    ASSERT_TRUE(SendAndWait(again));
    EXPECT_TRUE(Contains(again.AnswerText(), ">42</")) << again.AnswerText();
    EXPECT_EQ(again.History().size(), 3u);

    // The demo as a mock on a free port answers the example's generated client.
    again.StartOrStopMock();
    ASSERT_TRUE(again.Mock().IsStarted()) << again.MockStateText();
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return again.Mock().ServingPort() != 0; })) << testsupport::readBytes(again.Mock().LogPath());
    PumpUntilDoneOrHung([&] { return Contains(again.MockStateText(), "answers on"); });
    const std::string strMock = "http://127.0.0.1:" + std::to_string(again.Mock().ServingPort()) + "/calculator";
    EXPECT_TRUE(Contains(again.MockStateText(), "http://127.0.0.1:" + std::to_string(again.Mock().ServingPort()))) << again.MockStateText();
    CStartedProgram client("\"" + m_strLocation + "add.exe\" " + strMock, m_strLocation, Folder() + "client.txt");
    ASSERT_TRUE(client.IsStarted());
    EXPECT_EQ(client.Wait(), 0) << client.Output();
    EXPECT_EQ(client.Output().rfind("2 + 3 = ", 0), 0u) << client.Output();

    // A mock that dies while it serves is noticed: the window says it ended and offers to start it again.
    const CHandle mockProcess(::OpenProcess(PROCESS_TERMINATE, FALSE, again.Mock().ProcessId()));
    ASSERT_NE(mockProcess.Get(), nullptr);
    ASSERT_TRUE(::TerminateProcess(mockProcess.Get(), 7));
    EXPECT_TRUE(PumpUntilDoneOrHung([&] { return Contains(again.MockStateText(), "ended with code 7"); })) << again.MockStateText();
    EXPECT_FALSE(again.Mock().IsStarted());
    again.StartOrStopMock();
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return again.Mock().ServingPort() != 0; })) << testsupport::readBytes(again.Mock().LogPath());

    // Closing the project stops the mock: its port refuses.
    Command(ID_FILE_CLOSE_PROJECT);
    CStartedProgram late("\"" + m_strLocation + "add.exe\" " + strMock, m_strLocation, Folder() + "late.txt");
    EXPECT_EQ(late.Wait(), 1) << late.Output();
}

}  // namespace
