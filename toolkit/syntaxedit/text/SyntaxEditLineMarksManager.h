// Marks on lines by kind ("Bookmark", "Breakpoint", "Collapsed"): per kind a list sorted by
// line, at most one mark a line, each with an optional value. Marks move with inserted and
// deleted lines.
#pragma once

#include "classlib/ClassLib.h"

#include <map>
#include <memory>
#include <vector>

// No value, a 32-bit integer, a double, or an object shared by every copy of the value and
// freed with the last one.
class CKLVSyntaxEditLineMarkValue {
public:
    enum Type { typeNone = 0, typeLong = 1, typeDouble = 2, typePtr = 3 };

    Type GetType() const { return m_eType; }
    void SetNone();
    void SetLong(LONG lValue);
    void SetDouble(double dValue);
    // Frees the object with the deleter when there is one, else deletes it as a T.
    void SetPtr(void* pObject, void (*pfnDeleter)(void*));
    template <class T>
    void SetPtr(T* pObject) {
        SetPtr(pObject, [](void* p) { delete static_cast<T*>(p); });
    }
    LONG GetLong() const { return m_eType == typeLong ? m_lValue : 0; }
    double GetDouble() const { return m_eType == typeDouble ? m_dValue : 0; }
    void* GetPtr() const { return m_eType == typePtr ? m_spObject.get() : nullptr; }

private:
    Type m_eType = typeNone;
    LONG m_lValue = 0;
    double m_dValue = 0;
    std::shared_ptr<void> m_spObject;
};

struct KLV_SYNTAXEDIT_LINE_MARK {
    int nLine;
    CKLVSyntaxEditLineMarkValue value;
};

class CKLVSyntaxEditLineMarksManager : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVSyntaxEditLineMarksManager)
public:
    enum { actionInsert = 1, actionDelete = 2 };

    // Moves every kind's marks after lines line1 to line2 were inserted or deleted.
    virtual void RefreshLineMarks(int nLine1, int nLine2, int eAction);

    void SetMark(int nLine, LPCSTR lpszKind, const CKLVSyntaxEditLineMarkValue* pValue = nullptr);
    void DeleteMark(int nLine, LPCSTR lpszKind);
    BOOL HasMark(int nLine, LPCSTR lpszKind, CKLVSyntaxEditLineMarkValue* pValue = nullptr) const;
    void ToggleMark(int nLine, LPCSTR lpszKind, const CKLVSyntaxEditLineMarkValue* pValue = nullptr);
    // The last mark at or before, and the first at or after, the line: the line becomes the
    // mark's (-1 when none); the result is its 1-based index, 0 when none.
    int FindPrevMark(int& nLine, LPCSTR lpszKind) const;
    int FindNextMark(int& nLine, LPCSTR lpszKind) const;
    int GetLastMark(LPCSTR lpszKind) const;
    BOOL HasMarksType(LPCSTR lpszKind) const { return FindList(lpszKind) != nullptr; }
    // Walks by 1-based index (-1: the first mark); the index becomes 0 after the last mark.
    const KLV_SYNTAXEDIT_LINE_MARK* GetNextMark(int& nPosition, LPCSTR lpszKind) const;
    const KLV_SYNTAXEDIT_LINE_MARK* GetMarkAt(int nIndex, LPCSTR lpszKind) const;
    int GetCount(LPCSTR lpszKind) const;
    void RemoveAll(LPCSTR lpszKind);

private:
    using CMarkList = std::vector<KLV_SYNTAXEDIT_LINE_MARK>;
    const CMarkList* FindList(LPCSTR lpszKind) const;
    CMarkList* FindList(LPCSTR lpszKind);
    // The first mark at or after the line.
    static CMarkList::const_iterator LowerBound(const CMarkList& list, int nLine);

    std::map<CString, CMarkList> m_mapLists;
};
