// The buffer's lifetime, settings and its link to the lexer.
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CKLVSyntaxEditBufferManager, CCmdTarget)

namespace {

const char kSettingsSection[] = "Settings";
const char kTabSizeEntry[] = "TabSize";
// The tab size divides display columns: keep it where it makes sense.
const int kMinTabSize = 1;
const int kMaxTabSize = 64;

const KLV_SYNTAXEDIT_LEXER_FACTORY* g_pLexerFactory = nullptr;
// The configuration manager all buffers share, and how many buffers hold it.
IKLVSyntaxEditConfigManager* g_pSharedConfigManager = nullptr;
int g_nAttachedBuffers = 0;

}  // namespace

void KLVSetSyntaxEditLexerFactory(const KLV_SYNTAXEDIT_LEXER_FACTORY* pFactory) { g_pLexerFactory = pFactory; }

const KLV_SYNTAXEDIT_LEXER_FACTORY* KLVGetSyntaxEditLexerFactory() { return g_pLexerFactory; }

CKLVSyntaxEditBufferManager::CKLVSyntaxEditBufferManager() : m_pConnection(new CKLVNotificationConnection) {
    if (g_pLexerFactory && g_pLexerFactory->pfnCreateParser) m_pParser.reset(g_pLexerFactory->pfnCreateParser());
    AttachSharedConfigManager();
    LoadSettings();
}

void CKLVSyntaxEditBufferManager::LoadSettings() {
    if (CWinApp* pApp = AfxGetApp())
        m_nTabSize = std::clamp(static_cast<int>(pApp->GetProfileInt(kSettingsSection, kTabSizeEntry, m_nTabSize)),
                                kMinTabSize, kMaxTabSize);
}

CKLVSyntaxEditBufferManager::~CKLVSyntaxEditBufferManager() {
    Close();
    DetachSharedConfigManager();
    m_pParser.reset();
    m_pConnection->InternalRelease();
}

void CKLVSyntaxEditBufferManager::Close() {
    m_sink.UnadviseAll();
    if (m_pParser) m_pParser->Close();
    ClearText();
}

void CKLVSyntaxEditBufferManager::ClearText() {
    CTextLock textLock(this);
    m_arRows.RemoveAll();
    m_undoManager.Clear();
    m_strFileName.Empty();
}

void CKLVSyntaxEditBufferManager::AttachSharedConfigManager() {
    if (!g_pSharedConfigManager && g_pLexerFactory && g_pLexerFactory->pfnCreateConfigManager)
        g_pSharedConfigManager = g_pLexerFactory->pfnCreateConfigManager();
    SetLexConfigManager(g_pSharedConfigManager);
    ++g_nAttachedBuffers;
}

void CKLVSyntaxEditBufferManager::DetachSharedConfigManager() {
    m_sink.UnadviseAll();
    m_pConfigManager = nullptr;
    if (--g_nAttachedBuffers == 0 && g_pSharedConfigManager) {
        g_pSharedConfigManager->Close();
        g_pSharedConfigManager->Release();
        g_pSharedConfigManager = nullptr;
    }
}

void CKLVSyntaxEditBufferManager::SetLexConfigManager(IKLVSyntaxEditConfigManager* pConfigManager) {
    m_sink.UnadviseAll();
    m_pConfigManager = pConfigManager;
    CKLVNotificationConnection* pConnection = pConfigManager ? pConfigManager->GetConnection() : nullptr;
    if (!pConnection) return;
    for (DWORD dwCode : {klvEditSchemaReloaded, klvEditThemeReloaded, klvEditConfigLoaded})
        m_sink.Advise(pConnection, dwCode, &CKLVSyntaxEditBufferManager::OnLexConfigNotification);
}

BOOL CKLVSyntaxEditBufferManager::SetTabSize(int nTabSize, BOOL bSave) {
    m_nTabSize = std::clamp(nTabSize, kMinTabSize, kMaxTabSize);
    if (!bSave) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->WriteProfileInt(kSettingsSection, kTabSizeEntry, m_nTabSize);
}

void CKLVSyntaxEditBufferManager::SetFileName(LPCSTR lpszFileName) {
    if (m_strFileName == lpszFileName) return;
    m_strFileName = lpszFileName;
    if (m_bSyntaxColoring) ApplySchemaForFile();
}

CString CKLVSyntaxEditBufferManager::GetConfigFile() const {
    return m_pConfigManager ? m_pConfigManager->GetConfigFile() : CString();
}

BOOL CKLVSyntaxEditBufferManager::SetConfigFile(LPCSTR lpszPath) {
    if (!m_pConfigManager) return FALSE;
    // Every buffer shares the configuration, which is watched for changes once loaded: a buffer
    // naming the loaded one takes it as it stands. Loading it again would make every other open
    // buffer colour its whole text afresh, so each new tab opened slower than the one before.
    const CString strLoaded = m_pConfigManager->GetConfigFile();
    if (strLoaded.IsEmpty() || strLoaded.CompareNoCase(lpszPath) != 0) return m_pConfigManager->SetConfigFile(lpszPath);
    OnLexConfigNotification(klvEditConfigLoaded, 0, 0);
    return TRUE;
}

void CKLVSyntaxEditBufferManager::ApplySchemaForFile() {
    if (!m_pParser) return;
    CKLVTextSchemaRef pSchema;
    if (m_pConfigManager) pSchema = m_pConfigManager->FindSchemaForFile(m_strFileName);
    m_pParser->SetTextSchema(pSchema.Get());
}

void CKLVSyntaxEditBufferManager::EnableSyntaxColoring(BOOL bEnable) {
    if (!bEnable == !m_bSyntaxColoring) return;
    m_bSyntaxColoring = bEnable;
    if (!m_pParser) return;
    if (!bEnable) {
        m_pParser->SetTextSchema(nullptr);
        return;
    }
    ApplySchemaForFile();
    Reparse();
}

void CKLVSyntaxEditBufferManager::Reparse(BOOL bFirst) {
    if (!m_pParser) return;
    const CKLVSyntaxEditParseOptions options = m_pParser->GetOptions(m_strFileName);
    if (!(bFirst ? options.bFirstParseInSeparateThread : options.bConfigChangedReparceInSeparateThread)) {
        IKLVSyntaxEditTextSchema* pSchema = m_pParser->GetTextSchema();
        if (!pSchema) return;
        CKLVSyntaxEditTextIterator iter(this);
        pSchema->Parse(&iter);
        return;
    }
    CKLVSyntaxEditPosition posStart(1, 0);
    m_pParser->StartParseInThread(this, &posStart, nullptr, 0, !bFirst);
}

std::unique_ptr<IKLVSyntaxEditTextIterator> CKLVSyntaxEditBufferManager::CreateTextIterator() {
    return std::make_unique<CKLVSyntaxEditTextIterator>(this);
}

void CKLVSyntaxEditBufferManager::Publish(DWORD dwCode, WPARAM wParam, LPARAM lParam) {
    m_pConnection->Notify(dwCode, wParam, lParam, 0);
}

void CKLVSyntaxEditBufferManager::OnLexConfigNotification(DWORD dwCode, WPARAM wParam, LPARAM lParam) {
    if (!m_bSyntaxColoring || !m_pParser) return;
    if (m_bApplyingConfig) {
        // What it names may be gone once this returns: the one in progress looks again after.
        m_bConfigChangedMeanwhile = TRUE;
        return;
    }
    m_bApplyingConfig = TRUE;
    if (ApplyConfigNotification(dwCode, lParam)) Publish(dwCode, wParam, lParam);
    while (m_bConfigChangedMeanwhile && m_bSyntaxColoring) {
        m_bConfigChangedMeanwhile = FALSE;
        if (ApplyConfigNotification(klvEditConfigLoaded, 0)) Publish(klvEditConfigLoaded, 0, 0);
    }
    m_bConfigChangedMeanwhile = FALSE;
    m_bApplyingConfig = FALSE;
}

BOOL CKLVSyntaxEditBufferManager::ApplyConfigNotification(DWORD dwCode, LPARAM lParam) {
    auto* pSchema = reinterpret_cast<IKLVSyntaxEditTextSchema*>(lParam);
    IKLVSyntaxEditTextSchema* pCurrent = m_pParser->GetTextSchema();
    switch (dwCode) {
    case klvEditSchemaReloaded:
        if (pSchema && pSchema->FindClassForFile(m_strFileName)) {
            m_pParser->SetTextSchema(pSchema);
            Reparse();
        } else if (pSchema && pCurrent && pCurrent->GetSchName().CompareNoCase(pSchema->GetSchName()) == 0) {
            m_pParser->SetTextSchema(nullptr);
        } else if (!pSchema && (!m_pConfigManager || !m_pConfigManager->FindSchemaForFile(m_strFileName))) {
            m_pParser->SetTextSchema(nullptr);
        } else {
            return FALSE;
        }
        return TRUE;
    case klvEditConfigLoaded:
        ApplySchemaForFile();
        if (m_pParser->GetTextSchema()) Reparse();
        return TRUE;
    case klvEditThemeReloaded:
        if (!pCurrent) return FALSE;
        pCurrent->SetTheme(lParam);
        return TRUE;
    default:
        return FALSE;
    }
}

CString CKLVSyntaxEditBufferManager::GetFileExtension(LPCSTR lpszPath) {
    CString strPath = lpszPath;
    int nDot = strPath.ReverseFind('.');
    int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    return nDot > nSlash ? strPath.Mid(nDot) : CString();
}
