// Project Properties, Options with "config\config.ini", and the About box, each run by its
// command on the frame.
#include "AppTestHost.h"

#include "app/AboutDlg.h"
#include "app/AppConfig.h"
#include "app/CompilerSearch.h"
#include "app/GlobalOptions.h"
#include "app/ProjectSettingsDialog.h"
#include "app/Options.h"
#include "net/FetchUri.h"
#include "net/XmlCatalog.h"
#include "support/TestFiles.h"
#include "toolkit/common/HyperLink.h"

#include <cstdlib>
#include <filesystem>

using namespace apptest;

namespace {

using ProjectPropertiesTest = AppTest;

TEST_F(ProjectPropertiesTest, OkKeepsTheAuthenticationCodeOfTheRadioItChecks) {
    struct AuthCase {
        int nBefore, nAfter;
    };
    for (const AuthCase& authCase : {AuthCase{3, 2}, AuthCase{2, 2}, AuthCase{1, 1}, AuthCase{0, 0}}) {
        UseProject(CProjectRecord::Windows).authType = authCase.nBefore;
        InNextDialog("Project Properties", [](CWnd& dlg) { Click(dlg, IDOK); });
        Command(ID_PROJECT_PROPERTIES);
        EXPECT_EQ(Frame().GetProject()->authType, authCase.nAfter) << authCase.nBefore;
    }
}

TEST_F(ProjectPropertiesTest, UnixSwitchesTheBuildMenuAtOnceAndNameAndPathsStay) {
    UseProject(CProjectRecord::Windows);
    InNextDialog("Project Properties", [](CWnd& dlg) {
        // The current choice stands first.
        char szFirst[32] = "";
        ::SendDlgItemMessageA(dlg.GetSafeHwnd(), IDC_TARGET_PLATFORM, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(szFirst));
        EXPECT_STREQ(szFirst, "Windows");
        SetControlText(dlg, IDC_NAME, "renamed");
        SelectEntry(dlg, IDC_TARGET_PLATFORM, "Unix(Linux)");
        SelectEntry(dlg, IDC_LIBRARY_TYPE, "static library");
        Click(dlg, IDOK);
    });
    Command(ID_PROJECT_PROPERTIES);
    const CProjectRecord* pProject = Frame().GetProject();
    EXPECT_EQ(pProject->targetPlatform, CProjectRecord::Unix);
    EXPECT_EQ(pProject->libraryType, CProjectRecord::StaticLibrary);
    EXPECT_EQ(pProject->name, "calc");
    EXPECT_EQ(Enabled(ID_GENERATE_MAKEFILE), 1);
    for (UINT nID : {ID_COMPILE, ID_COMPILE_DEMO, ID_RUN_DEMO}) EXPECT_EQ(Enabled(nID), 0) << nID;
}

TEST_F(ProjectPropertiesTest, ANewTargetPlatformAsksToGenerateTheCodeAgain) {
    UseProject(CProjectRecord::Windows);
    const auto switchTo = [&](const char* lpszPlatform) {
        InNextDialog("Project Properties", [lpszPlatform](CWnd& dlg) {
            SelectEntry(dlg, IDC_TARGET_PLATFORM, lpszPlatform);
            Click(dlg, IDOK);
        });
        Command(ID_PROJECT_PROPERTIES);
    };
    // No: the output pane says what must be done before a build.
    Record().nBoxAnswer = IDNO;
    switchTo("Unix(Linux)");
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_NE(Record().boxes[0].find("must be generated again"), std::string::npos) << Record().boxes[0];
    EXPECT_NE(OutputText().find("run Generate Code and Generate Makefile again before building"), std::string::npos)
        << OutputText();
    // The same platform again asks nothing.
    switchTo("Unix(Linux)");
    EXPECT_EQ(Record().boxes.size(), 1u);
    // Yes: Generate Code runs at once (here on a document that is not there, which it reports).
    Record().nBoxAnswer = IDYES;
    switchTo("Windows");
    EXPECT_EQ(Record().boxes.size(), 2u);
    EXPECT_EQ(OutputText().rfind("Start Generating...\r\n", 0), 0u) << OutputText();
}

TEST_F(ProjectPropertiesTest, CancelAndAnEmptyNameChangeNothing) {
    UseProject(CProjectRecord::Windows).authType = 3;
    InNextDialog("Project Properties", [](CWnd& dlg) {
        SelectEntry(dlg, IDC_TARGET_PLATFORM, "Unix(Linux)");
        SetControlText(dlg, IDC_NAME, "");
        Click(dlg, IDOK);   // refused: the dialog stays
        Click(dlg, IDCANCEL);
    });
    Command(ID_PROJECT_PROPERTIES);
    EXPECT_EQ(Record().boxes, std::vector<std::string>{"please input a protocol name!"});
    EXPECT_EQ(Frame().GetProject()->targetPlatform, CProjectRecord::Windows);
    EXPECT_EQ(Frame().GetProject()->authType, 3);
}

// Both dialogs that set a project's authentication show its three choices whole, clear of every
// other field, and a click on one is the code the project gets.
TEST_F(ProjectPropertiesTest, TheAuthenticationChoicesAreShownWholeAndTakeTheirCode) {
    struct DialogCase {
        const char* lpszCaption;
        UINT nCommand;
        int nDigestCode;
    };
    struct Choice {
        int nID;
        int nCode;   // -1: the dialog's Digest code
    };
    for (const DialogCase& dialog : {DialogCase{"Project Properties", ID_PROJECT_PROPERTIES, 2},
                                     DialogCase{"New Project", ID_FILE_NEW_PROJECT, 3}}) {
        UseProject(CProjectRecord::Windows);
        InNextDialog(dialog.lpszCaption, [&](CWnd& dlg) {
            const HWND hDlg = dlg.GetSafeHwnd();
            CRect rcClient;
            ::GetClientRect(hDlg, &rcClient);
            CClientDC dc(&dlg);
            CFont* pOldFont = dc.SelectObject(dlg.GetFont());
            for (const Choice& choice : {Choice{IDC_AUTH_NONE, 0}, Choice{IDC_AUTH_BASIC, 1}, Choice{IDC_AUTH_DIGEST, -1}}) {
                const HWND hRadio = ::GetDlgItem(hDlg, choice.nID);
                // The dialog itself shows once this runs: the control's own style says whether it shows.
                EXPECT_TRUE(::GetWindowLongA(hRadio, GWL_STYLE) & WS_VISIBLE) << dialog.lpszCaption << " " << choice.nID;
                CRect rcRadio;
                ::GetWindowRect(hRadio, &rcRadio);
                dlg.ScreenToClient(&rcRadio);
                CRect rcInside;
                EXPECT_TRUE(rcInside.IntersectRect(rcRadio, rcClient) && rcInside == rcRadio) << choice.nID;
                // The text beside the box fits.
                char szText[32] = "";
                ::GetWindowTextA(hRadio, szText, sizeof(szText));
                const CSize size = dc.GetTextExtent(szText, lstrlenA(szText));
                EXPECT_LE(size.cx + ::GetSystemMetrics(SM_CXMENUCHECK) + 4, rcRadio.Width()) << szText;
                for (HWND hOther = ::GetWindow(hDlg, GW_CHILD); hOther; hOther = ::GetWindow(hOther, GW_HWNDNEXT)) {
                    if (hOther == hRadio || !(::GetWindowLongA(hOther, GWL_STYLE) & WS_VISIBLE)) continue;
                    CRect rcOther, rcMeet;
                    ::GetWindowRect(hOther, &rcOther);
                    dlg.ScreenToClient(&rcOther);
                    EXPECT_FALSE(rcMeet.IntersectRect(rcRadio, rcOther)) << szText << " meets " << ::GetDlgCtrlID(hOther);
                }
                ::SendMessageA(hRadio, BM_CLICK, 0, 0);
                auto* pSettings = dynamic_cast<CProjectSettingsDialog*>(CWnd::FromHandlePermanent(hDlg));
                EXPECT_TRUE(pSettings && pSettings->m_nAuthType == (choice.nCode < 0 ? dialog.nDigestCode : choice.nCode))
                    << szText;
                EXPECT_EQ(::SendMessageA(hRadio, BM_GETCHECK, 0, 0), BST_CHECKED) << szText;
            }
            dc.SelectObject(pOldFont);
            Click(dlg, IDCANCEL);
        });
        Command(dialog.nCommand);
    }
}

class OptionsTest : public AppTest {
protected:
    OptionsTest() {
        std::filesystem::create_directories(ConfigPath().parent_path());
        std::filesystem::remove(ConfigPath());
    }
    ~OptionsTest() override { std::filesystem::remove(ConfigPath()); }
    static std::filesystem::path ConfigPath() { return static_cast<LPCSTR>(GetConfigFilePath()); }
};

TEST_F(OptionsTest, OkWritesTheWholePathAndAutoOneAndTheFrameReadsThemBack) {
    const std::string longPath = "C:\\" + std::string(180, 'v') + "\\bin\\vcvars32.bat";
    ASSERT_GT(longPath.size(), 190u);
    Frame().m_strCompilerPath = "C:\\old\\vcvars32.bat";
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        ASSERT_NE(pOptions, nullptr);
        ASSERT_NE(pOptions->m_pGlobalOptions, nullptr);
        CString strShown;
        pOptions->m_pGlobalOptions->m_wndPath.GetWindowText(strShown);
        EXPECT_EQ(strShown, "C:\\old\\vcvars32.bat");
        EXPECT_EQ(pOptions->m_pGlobalOptions->m_btnAuto.GetCheck(), BST_UNCHECKED);
        pOptions->m_pGlobalOptions->m_wndPath.SetWindowText(longPath.c_str());
        Click(dlg, IDOK);
        // The exchange on OK builds no second tab.
        EXPECT_EQ(pOptions->m_wndTab.GetItemCount(), 1);
    });
    Command(ID_OPTION);
    EXPECT_EQ(Frame().m_strCompilerPath, longPath.c_str());
    EXPECT_EQ(Frame().m_nAutoFlag, 1);
    EXPECT_EQ(ReadConfigValue("compiler_path", ""), longPath.c_str());
    EXPECT_EQ(ReadConfigValue("auto_flag", "0"), "1");
    Frame().m_strCompilerPath.Empty();
    Frame().m_nAutoFlag = 0;
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_strCompilerPath, longPath.c_str());
    EXPECT_EQ(Frame().m_nAutoFlag, 1);
}

TEST_F(OptionsTest, TheCompilerKindAndTheGccPathAreChosenWrittenAndReadBack) {
    Frame().m_nCompilerKind = CMainFrame::compilerVisualCpp;
    Frame().m_strGccPath = "C:\\mingw\\bin\\gcc.exe";
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        ASSERT_NE(pOptions, nullptr);
        CGlobalOptions& page = *pOptions->m_pGlobalOptions;
        EXPECT_EQ(page.m_cboCompiler.GetCurSel(), 0);
        CString strShown;
        page.m_wndGccPath.GetWindowText(strShown);
        EXPECT_EQ(strShown, "C:\\mingw\\bin\\gcc.exe");
        SelectEntry(page, IDC_COMPILER_KIND, "GCC for Windows (mingw-w64)");
        page.m_wndGccPath.SetWindowText("D:\\tools\\x86_64-w64-mingw32-gcc.exe");
        Click(dlg, IDOK);
    });
    Command(ID_OPTION);
    EXPECT_EQ(Frame().m_nCompilerKind, CMainFrame::compilerMingwGcc);
    EXPECT_EQ(ReadConfigValue("compiler_kind", ""), "1");
    EXPECT_EQ(ReadConfigValue("gcc_path", ""), "D:\\tools\\x86_64-w64-mingw32-gcc.exe");
    Frame().m_nCompilerKind = CMainFrame::compilerVisualCpp;
    Frame().m_strGccPath.Empty();
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_nCompilerKind, CMainFrame::compilerMingwGcc);
    EXPECT_EQ(Frame().m_strGccPath, "D:\\tools\\x86_64-w64-mingw32-gcc.exe");
}

TEST_F(OptionsTest, WithNoChoiceAGccOnTheSystemIsTakenUnlessVcvarsWasLocated) {
    const std::string found = FindDefaultGcc();
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_strGccPath, found.c_str());
    EXPECT_EQ(Frame().m_nCompilerKind, found.empty() ? CMainFrame::compilerVisualCpp : CMainFrame::compilerMingwGcc);
    testsupport::writeBytes(ConfigPath(), "[Global]\r\ncompiler_path=C:\\VS\\vcvars32.bat\r\n");
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_nCompilerKind, CMainFrame::compilerVisualCpp);
}

TEST_F(OptionsTest, EveryFieldOfThePageIsShownWhole) {
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        ASSERT_NE(pOptions, nullptr);
        CGlobalOptions& page = *pOptions->m_pGlobalOptions;
        CRect rcPage;
        page.GetClientRect(&rcPage);
        page.ClientToScreen(&rcPage);
        for (int nID : {IDC_NAME, IDC_BROWSE, IDC_COMPILER_KIND, IDC_GCC_PATH, IDC_GCC_BROWSE, IDC_XML_CATALOG,
                        IDC_XML_CATALOG_BROWSE}) {
            CRect rcField, rcShown;
            page.GetDlgItem(nID)->GetWindowRect(&rcField);
            rcShown.IntersectRect(rcField, rcPage);
            EXPECT_EQ(rcShown, rcField) << "field " << nID << " is cut off by the page";
        }
        Click(dlg, IDCANCEL);
    });
    Command(ID_OPTION);
}

TEST_F(OptionsTest, CancelWritesNothingAndKeepsTheFramesValues) {
    Frame().m_strCompilerPath = "C:\\kept\\vcvars32.bat";
    InNextDialog("Options", [](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        pOptions->m_pGlobalOptions->m_wndPath.SetWindowText("C:\\other\\vcvars32.bat");
        Click(dlg, IDCANCEL);
    });
    Command(ID_OPTION);
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
    EXPECT_EQ(Frame().m_strCompilerPath, "C:\\kept\\vcvars32.bat");
}

TEST_F(OptionsTest, AMissingFileGivesTheDefaultsAndAutoIsAlwaysSet) {
    Frame().m_strCompilerPath = "stale";
    Frame().m_nAutoFlag = 0;
    testsupport::writeBytes(ConfigPath(), "[Global]\r\nauto_flag=0\r\n");
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_nAutoFlag, 1);
    EXPECT_EQ(Frame().m_strCompilerPath, "");
}

// Options with catalogs to choose from; fetching is left with none afterwards.
class OptionsCatalogTest : public OptionsTest {
protected:
    OptionsCatalogTest() {
        testsupport::writeBytes("user-a.xsd", "user a");
        testsupport::writeBytes("env-a.xsd", "env a");
        testsupport::writeBytes("env-b.xsd", "env b");
        testsupport::writeBytes("my catalog.xml", Catalog("<uri name=\"http://kelvane.invalid/a.xsd\" uri=\"user-a.xsd\"/>"));
        testsupport::writeBytes("env-catalog.xml", Catalog("<uri name=\"http://kelvane.invalid/a.xsd\" uri=\"env-a.xsd\"/>"
                                                           "<uri name=\"http://kelvane.invalid/b.xsd\" uri=\"env-b.xsd\"/>"));
        _putenv_s("XML_CATALOG_FILES", "env-catalog.xml");
    }
    ~OptionsCatalogTest() override {
        _putenv_s("XML_CATALOG_FILES", "");
        setFetchCatalog(XmlCatalog());
    }
    static std::string Catalog(const std::string& entries) {
        return "<?xml version=\"1.0\"?>\n<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\">" + entries +
               "</catalog>\n";
    }
    // The text fetching gives for location, or "unmapped" when it is not sent to a file.
    static std::string Fetched(const std::string& location) {
        std::string strFile, strFailure;
        return fetchUri(location, strFile, strFailure) ? testsupport::readBytes(strFile) : "unmapped";
    }
    // Each fetch in the order the catalogs are consulted: the Options' file, XML_CATALOG_FILES,
    // then the built-in schemas' catalog beside the program.
    void ExpectTheOptionsCatalogFirst() {
        EXPECT_EQ(Fetched("http://kelvane.invalid/a.xsd"), "user a");
        EXPECT_EQ(Fetched("http://kelvane.invalid/b.xsd"), "env b");
        EXPECT_NE(Fetched("http://schemas.xmlsoap.org/soap/encoding/").find("schemas.xmlsoap.org/soap/encoding/"),
                  std::string::npos);
    }
    std::string m_strCatalog = (std::filesystem::current_path() / "my catalog.xml").string();
};

TEST_F(OptionsCatalogTest, TheCatalogIsWrittenReadBackAndFetchingUsesItFirst) {
    Frame().m_strXmlCatalog.Empty();
    CString strFailure;
    EXPECT_FALSE(Frame().UseXmlCatalog("C:\\old\\catalog.xml", strFailure));   // unreadable: not kept
    EXPECT_EQ(Frame().m_strXmlCatalog, "");
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        ASSERT_NE(pOptions, nullptr);
        CGlobalOptions& page = *pOptions->m_pGlobalOptions;
        CString strShown = "stale";
        page.m_wndXmlCatalog.GetWindowText(strShown);
        EXPECT_EQ(strShown, "");
        EXPECT_TRUE(page.m_btnXmlCatalogBrowse.IsWindowEnabled());
        page.m_wndXmlCatalog.SetWindowText(m_strCatalog.c_str());
        Click(dlg, IDOK);
    });
    Command(ID_OPTION);
    EXPECT_TRUE(Record().boxes.empty());
    EXPECT_EQ(Frame().m_strXmlCatalog, m_strCatalog.c_str());
    EXPECT_EQ(ReadConfigValue("xml_catalog", ""), m_strCatalog.c_str());
    ExpectTheOptionsCatalogFirst();

    // At start the file's catalog is read back and applied again.
    setFetchCatalog(XmlCatalog());
    Frame().m_strXmlCatalog.Empty();
    Frame().LoadConfig();
    EXPECT_EQ(Frame().m_strXmlCatalog, m_strCatalog.c_str());
    ExpectTheOptionsCatalogFirst();
    // The dialog shows it; an emptied field leaves XML_CATALOG_FILES first.
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        CString strShown;
        pOptions->m_pGlobalOptions->m_wndXmlCatalog.GetWindowText(strShown);
        EXPECT_EQ(strShown, m_strCatalog.c_str());
        pOptions->m_pGlobalOptions->m_wndXmlCatalog.SetWindowText("");
        Click(dlg, IDOK);
    });
    Command(ID_OPTION);
    EXPECT_EQ(ReadConfigValue("xml_catalog", "unset"), "");
    EXPECT_EQ(Fetched("http://kelvane.invalid/a.xsd"), "env a");
}

TEST_F(OptionsCatalogTest, AnUnreadableCatalogIsNamedAndChangesNothing) {
    CString strFailure;
    ASSERT_TRUE(Frame().UseXmlCatalog(m_strCatalog.c_str(), strFailure)) << static_cast<LPCSTR>(strFailure);
    const std::string missing = (std::filesystem::current_path() / "missing.xml").string();
    InNextDialog("Options", [&](CWnd& dlg) {
        auto* pOptions = dynamic_cast<COptions*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        pOptions->m_pGlobalOptions->m_wndXmlCatalog.SetWindowText(missing.c_str());
        Click(dlg, IDOK);   // refused: the dialog stays
        Click(dlg, IDCANCEL);
    });
    Command(ID_OPTION);
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(Record().boxes[0].rfind("catalog ", 0), 0u) << Record().boxes[0];
    EXPECT_NE(Record().boxes[0].find("missing.xml"), std::string::npos) << Record().boxes[0];
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
    EXPECT_EQ(Frame().m_strXmlCatalog, m_strCatalog.c_str());
    ExpectTheOptionsCatalogFirst();

    // Kept in the file but gone at start: named in the output pane, and the other catalogs serve.
    testsupport::writeBytes(ConfigPath(), "[Global]\r\nxml_catalog=" + missing + "\r\n");
    Frame().LoadConfig();
    EXPECT_NE(OutputText().find("catalog " + missing), std::string::npos) << OutputText();
    EXPECT_EQ(Frame().m_strXmlCatalog, "");
    EXPECT_EQ(Fetched("http://kelvane.invalid/a.xsd"), "env a");
}

using AboutTest = AppTest;

TEST_F(AboutTest, TheLinksOpenTheMailAndWebAddresses) {
    InNextDialog("About", [](CWnd& dlg) {
        auto* pMail = dynamic_cast<CKLHyperLink*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.GetSafeHwnd(), IDC_MAIL_LINK)));
        auto* pWeb = dynamic_cast<CKLHyperLink*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.GetSafeHwnd(), IDC_WEB_LINK)));
        ASSERT_NE(pMail, nullptr);
        ASSERT_NE(pWeb, nullptr);
        EXPECT_EQ(pMail->GetURL(), g_lpszSupportMail);
        EXPECT_EQ(pWeb->GetURL(), g_lpszWebPage);
        Click(dlg, IDOK);
    });
    Command(ID_ABOUT);
}

}  // namespace
