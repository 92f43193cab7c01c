// One property line of a "lexClass:" block: the key's words ("txt", "colorFG") and the value
// tokens, with where the line lies in its file.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditLexClassProperty {
public:
    CKLVSyntaxEditLexClassProperty() = default;
    CKLVSyntaxEditLexClassProperty(const CKLVSyntaxEditLexClassProperty& other) { *this = other; }
    CKLVSyntaxEditLexClassProperty& operator=(const CKLVSyntaxEditLexClassProperty& other) {
        if (this != &other) {
            m_arKeyParts.Copy(other.m_arKeyParts);
            m_arValues.Copy(other.m_arValues);
            m_nLine = other.m_nLine;
            m_nValueColumn = other.m_nValueColumn;
            m_nValueLength = other.m_nValueLength;
        }
        return *this;
    }

    CStringArray m_arKeyParts;
    CStringArray m_arValues;
    int m_nLine = 0;
    int m_nValueColumn = 0;
    int m_nValueLength = 0;
};
