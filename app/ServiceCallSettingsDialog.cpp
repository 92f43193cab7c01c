#include "app/ServiceCallSettingsDialog.h"

#include "app/ErrorBox.h"
#include "app/res/Resource.h"

#include <string>
#include <utility>

namespace {

// The authentication kinds in the order the list shows them.
const char* const kAuthNames[] = {"None", "Basic", "Digest"};

}  // namespace

CServiceCallSettingsDialog::CServiceCallSettingsDialog(CallSettings& settings, Save save, CWnd* pParent)
    : CDialog(IDD_SERVICE_CALL_SETTINGS, pParent), m_settings(settings), m_save(std::move(save)) {}

std::string CServiceCallSettingsDialog::Text(UINT nID) const {
    CString strText;
    GetDlgItemText(static_cast<int>(nID), strText);
    return static_cast<LPCSTR>(strText);
}

BOOL CServiceCallSettingsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_CALL_CA_FILE, m_settings.caFile.c_str());
    CheckDlgButton(IDC_CALL_VERIFY, m_settings.verifyCertificate ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_CALL_PROXY, m_settings.proxy.c_str());
    SetDlgItemText(IDC_CALL_PROXY_USER, m_settings.proxyUser.c_str());
    SetDlgItemText(IDC_CALL_PROXY_PASSWORD, m_settings.proxyPassword.c_str());
    for (const char* lpszName : kAuthNames)
        ::SendDlgItemMessageA(m_hWnd, IDC_CALL_AUTH, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszName));
    ::SendDlgItemMessageA(m_hWnd, IDC_CALL_AUTH, CB_SETCURSEL, static_cast<WPARAM>(m_settings.auth), 0);
    SetDlgItemText(IDC_CALL_USER, m_settings.user.c_str());
    SetDlgItemText(IDC_CALL_PASSWORD, m_settings.password.c_str());
    SetDlgItemText(IDC_CALL_WSSE_USER, m_settings.wsSecurityUser.c_str());
    SetDlgItemText(IDC_CALL_TIMEOUT, std::to_string(m_settings.timeoutSeconds).c_str());
    return TRUE;
}

void CServiceCallSettingsDialog::OnOK() {
    CallSettings settings = m_settings;
    settings.caFile = Text(IDC_CALL_CA_FILE);
    settings.verifyCertificate = IsDlgButtonChecked(IDC_CALL_VERIFY) == BST_CHECKED;
    settings.proxy = Text(IDC_CALL_PROXY);
    settings.proxyUser = Text(IDC_CALL_PROXY_USER);
    settings.proxyPassword = Text(IDC_CALL_PROXY_PASSWORD);
    const int nAuth = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CALL_AUTH, CB_GETCURSEL, 0, 0));
    settings.auth = static_cast<CallSettings::Auth>(nAuth < 0 ? 0 : nAuth);
    settings.user = Text(IDC_CALL_USER);
    settings.password = Text(IDC_CALL_PASSWORD);
    settings.wsSecurityUser = Text(IDC_CALL_WSSE_USER);
    if (!readTimeoutSeconds(Text(IDC_CALL_TIMEOUT), settings.timeoutSeconds)) {
        ShowErrorBox(this, ("The time-out must be a whole number of seconds from 1 to " +
                            std::to_string(MostTimeoutSeconds) + ".").c_str());
        if (CWnd* pTimeout = GetDlgItem(IDC_CALL_TIMEOUT))
            pTimeout->SetFocus();
        return;
    }
    std::string strWhy;
    if (m_save && !m_save(settings, strWhy)) {
        ShowErrorBox(this, ("The call settings were not saved: " + strWhy + ".").c_str());
        return;
    }
    m_settings = std::move(settings);
    EndDialog(IDOK);
}
