// Lex classes for the lexer tests, built from property lines written as "key = v1, v2".
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassTree.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextBlock.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"
#include "StringText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

// Waits on this thread until the condition holds; the time-out only guards a broken test.
inline bool WaitUntil(const std::function<bool()>& done) {
    const DWORD dwStart = ::GetTickCount();
    while (!done())
        if (::GetTickCount() - dwStart > 60000)
            return false;
        else
            ::Sleep(1);
    return true;
}

// "start:tag = '/*', @digit" -> key parts start, tag; values '/*' and @digit.
inline CKLVSyntaxEditLexClassProperty MakeProperty(const std::string& line) {
    CKLVSyntaxEditLexClassProperty prop;
    const size_t nEq = line.find('=');
    CString strKey(line.substr(0, nEq).c_str());
    CKLVSyntaxEditLexText::SplitByColon(strKey.Trim(), prop.m_arKeyParts);
    for (INT_PTR i = 0; i < prop.m_arKeyParts.GetSize(); ++i) prop.m_arKeyParts[i].Trim();
    if (nEq != std::string::npos) {
        CString strValues(line.substr(nEq + 1).c_str());
        CKLVSyntaxEditLexText::Split(strValues, ",", prop.m_arValues);
        for (INT_PTR i = 0; i < prop.m_arValues.GetSize(); ++i) prop.m_arValues[i].Trim();
    }
    return prop;
}

template <class T = CKLVSyntaxEditLexClass>
CKLVSmartPtr<T> MakeClass(const char* name, std::initializer_list<const char*> lines) {
    CKLVSmartPtr<T> pClass = KLVMakeCounted<T>();
    pClass->SetName(name);
    for (const char* line : lines) pClass->ApplyProperty(MakeProperty(line));
    return pClass;
}

// The strings of a list's values, joined with "|" (character classes as their text).
inline std::string ListText(const CKLVSyntaxEditLexAttrArray& list) {
    std::string text;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pValue = list.GetAt(i);
        if (i) text += " / ";
        if (pValue->m_nKind == klvLexValueCharClass) text += pValue->m_CharClass.GetText().GetString();
        for (INT_PTR j = 0; j < pValue->m_arStrings.GetSize(); ++j)
            text += (j ? "|" : "") + std::string(pValue->m_arStrings[j].GetString());
    }
    return text;
}

// A tree built from schema text, or from one of our schema files ("C.lex").
inline CKLVSmartPtr<CKLVSyntaxEditLexClassTree> MakeTree(const CKLVSyntaxEditLexClassInfoArray& blocks) {
    auto pTree = KLVMakeCounted<CKLVSyntaxEditLexClassTree>();
    for (const CKLVSyntaxEditLexClassInfo& info : blocks) {
        auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
        pClass->SetName(info.m_strName);
        for (const CKLVSyntaxEditLexClassProperty& prop : info.m_arProperties) pClass->ApplyProperty(prop);
        pTree->AddClass(pClass.Get());
    }
    pTree->Build();
    return pTree;
}

inline CKLVSmartPtr<CKLVSyntaxEditLexClassTree> MakeTreeFromText(const char* text) {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaText(text);
    return MakeTree(store.GetCurrentBlocks());
}

inline CKLVSmartPtr<CKLVSyntaxEditLexClassTree> MakeTreeFromFile(const char* name) {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaFile(CString(KELVANE_SOURCE_DIR "/runtime/config/lexer/") + name, FALSE);
    return MakeTree(store.GetCurrentBlocks());
}

// The first instance of that name below the classes of a list, depth first.
inline CKLVSyntaxEditLexClass* FindInstance(CKLVLexClassList& list, const char* name) {
    for (const CKLVLexClassPtr& pClass : list) {
        if (pClass->GetName() == name) return pClass.Get();
        if (CKLVSyntaxEditLexClass* p = FindInstance(pClass->GetChildren(), name)) return p;
        if (CKLVSyntaxEditLexClass* p = FindInstance(pClass->GetChildren2(), name)) return p;
    }
    return nullptr;
}

// The schema side of matching: new blocks, the last linked block, child runs.
class FakeSchema : public IKLVSyntaxEditLexBlockSchema {
public:
    CKLVLexBlockPtr CreateBlock() override {
        return bNoBlocks ? CKLVLexBlockPtr() : KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
    }
    CKLVLexBlockPtr GetLastLinkedBlock() override { return pLastLinked; }
    int ParseChildren(IKLVSyntaxEditTextIterator*, CKLVSyntaxEditLexTextBlock*, CKLVSyntaxEditLexClass*,
                      CKLVSyntaxEditLexParseContext*) override {
        ++nChildRuns;
        return nChildFlags;
    }
    void StoreChain(CKLVSyntaxEditLexTextBlock*) override { ++nStored; }
    CSyncObject* GetBlockLock() override { return &lock; }

    BOOL bNoBlocks = FALSE;
    CKLVLexBlockPtr pLastLinked;
    int nChildFlags = 0;
    int nChildRuns = 0;
    int nStored = 0;
    CMutex lock;
};

// A fresh folder of its own, removed with what it holds.
class TempFolder {
public:
    TempFolder() {
        char szTemp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szTemp);
        static int s_nCount = 0;
        m_strPath.Format("%skelvane-lexer-%lu-%d\\", szTemp, ::GetCurrentProcessId(), ++s_nCount);
        std::filesystem::create_directories(m_strPath.GetString());
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_strPath.GetString(), error);
    }
    CString Path(const char* name) const { return m_strPath + name; }
    const CString& Folder() const { return m_strPath; }

private:
    CString m_strPath;
};

// Writes a file whole; a reader that holds it open for a moment only delays the write.
inline void WriteText(const CString& path, const std::string& text) {
    for (int nTry = 0; nTry < 1000; ++nTry) {
        std::ofstream out(path.GetString(), std::ios::binary);
        if (out && (out << text) && (out.close(), !out.fail())) return;
        ::Sleep(2);
    }
}

// Dispatches this thread's messages until done() holds; FALSE after the time-out, which only
// guards a broken test against hanging.
template <class DONE>
bool PumpUntil(DONE done, DWORD dwTimeout = 60000) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        if (done()) return true;
        if (::GetTickCount() - dwStart > dwTimeout) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Every line's runs as "first-last:RRGGBB" of the text colour; all lines: the text's lines and
// one more, as the editor counts rows.
inline std::string RunsOf(IKLVSyntaxEditTextSource* pText, CKLVSyntaxEditLexTextSchema* pSchema, int nFirst = 1,
                          int nLast = -1, CKLVSyntaxEditLexTextBlock* pHead = nullptr) {
    std::unique_ptr<IKLVSyntaxEditTextIterator> pIter = pText->CreateTextIterator();
    if (nLast < 0)
        for (nLast = 1; pIter->GetLineLength(nLast, TRUE) > 0;) ++nLast;
    CKLVSyntaxEditTextColors defaults;
    defaults.crText = RGB(1, 2, 3);
    std::string out;
    for (int nLine = nFirst; nLine <= nLast; ++nLine) {
        std::vector<CKLVSyntaxEditTextSegment> runs;
        pSchema->GetLineAttributes(pIter.get(), nLine, 0, 0, defaults, runs, nullptr, pHead);
        out += std::to_string(nLine) + ":";
        for (const CKLVSyntaxEditTextSegment& run : runs) {
            const COLORREF cr = run.clrColors.crText;
            char sz[40];
            std::snprintf(sz, sizeof sz, " %d-%d:%02X%02X%02X", run.nFirstCol, run.nLastCol, GetRValue(cr),
                          GetGValue(cr), GetBValue(cr));
            out += sz;
        }
        out += "\n";
    }
    return out;
}

// The fold regions of the whole chain, one "start-end text" line each.
inline std::string FoldsOf(CKLVSyntaxEditLexTextSchema* pSchema) {
    std::vector<CKLVSyntaxEditCollapsedBlock> regions;
    pSchema->GetFoldRegions(nullptr, -1, regions);
    std::string out;
    for (const auto& r : regions)
        out += std::to_string(r.lcStart.nLine) + ":" + std::to_string(r.lcStart.nCol) + "-" +
               std::to_string(r.lcEnd.nLine) + ":" + std::to_string(r.lcEnd.nCol) + " " +
               r.strCollapsedText.GetString() + "\n";
    return out;
}
