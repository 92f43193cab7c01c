#include "app/GlobalOptions.h"

#include "app/MainFrame.h"
#include "app/res/Resource.h"

IMPLEMENT_DYNCREATE(CGlobalOptions, CFormView)

BEGIN_MESSAGE_MAP(CGlobalOptions, CFormView)
    ON_BN_CLICKED(IDC_AUTO, OnAuto)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_GCC_BROWSE, OnBrowseGcc)
    ON_BN_CLICKED(IDC_XML_CATALOG_BROWSE, OnBrowseXmlCatalog)
END_MESSAGE_MAP()

CGlobalOptions::CGlobalOptions() : CKLVFlatBorder<CFormView>(static_cast<UINT>(IDD_GLOBAL_OPTIONS)) {}

void CGlobalOptions::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUTO, m_btnAuto);
    DDX_Control(pDX, IDC_NAME, m_wndPath);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_COMPILER_KIND, m_cboCompiler);
    DDX_Control(pDX, IDC_GCC_PATH, m_wndGccPath);
    DDX_Control(pDX, IDC_GCC_BROWSE, m_btnGccBrowse);
    DDX_Control(pDX, IDC_XML_CATALOG, m_wndXmlCatalog);
    DDX_Control(pDX, IDC_XML_CATALOG_BROWSE, m_btnXmlCatalogBrowse);
}

CMainFrame* CGlobalOptions::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

void CGlobalOptions::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame) pFrame->m_nAutoFlag = 1;
    m_btnAuto.SetCheck(BST_UNCHECKED);
    m_btnBrowse.EnableWindow(TRUE);
    m_wndPath.SetWindowText(pFrame ? pFrame->m_strCompilerPath : CString());
    if (m_cboCompiler.GetCount() == 0) {
        m_cboCompiler.AddString("Visual C++ (vcvars32.bat)");
        m_cboCompiler.AddString("GCC for Windows (mingw-w64)");
    }
    m_cboCompiler.SetCurSel(pFrame && pFrame->m_nCompilerKind == CMainFrame::compilerMingwGcc ? 1 : 0);
    m_wndGccPath.SetWindowText(pFrame ? pFrame->m_strGccPath : CString());
    m_wndXmlCatalog.SetWindowText(pFrame ? pFrame->m_strXmlCatalog : CString());
}

void CGlobalOptions::OnBrowseGcc() {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    "mingw-w64 gcc (*gcc*)|*gcc*|All files (*.*)|*.*||", this);
    if (dlg.DoModal() == IDOK && !dlg.GetPathName().IsEmpty()) m_wndGccPath.SetWindowText(dlg.GetPathName());
}

void CGlobalOptions::OnBrowseXmlCatalog() {
    CFileDialog dlg(TRUE, "xml", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    "XML catalog (*.xml)|*.xml|All files (*.*)|*.*||", this);
    if (dlg.DoModal() == IDOK && !dlg.GetPathName().IsEmpty()) m_wndXmlCatalog.SetWindowText(dlg.GetPathName());
}

void CGlobalOptions::OnAuto() {
    const BOOL bChecked = m_btnAuto.GetCheck() == BST_CHECKED;
    m_btnBrowse.EnableWindow(!bChecked);
    CMainFrame* pFrame = GetMainFrame();
    m_wndPath.SetWindowText(!bChecked && pFrame ? pFrame->m_strCompilerPath : CString());
}

void CGlobalOptions::OnBrowse() {
    CFileDialog dlg(TRUE, "bat", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    "vc++ vcvars32.bat path(vcvars32.bat)|vcvars32.bat||", this);
    if (dlg.DoModal() == IDOK && !dlg.GetPathName().IsEmpty()) m_wndPath.SetWindowText(dlg.GetPathName());
}
