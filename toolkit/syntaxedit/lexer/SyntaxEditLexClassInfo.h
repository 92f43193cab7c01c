// The blocks of a schema file: one record per "lexClass:" block with its property lines, and
// the array of them that the Color page edits and the writer puts back.
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassProperty.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CKLVSyntaxEditLexClassInfo {
public:
    CString m_strName;
    std::vector<CKLVSyntaxEditLexClassProperty> m_arProperties;   // the "name" line is not among them
    int m_nFirstLine = 0;   // the line of "lexClass:"
    int m_nLastLine = 0;
};

class CKLVSyntaxEditLexClassInfoArray : public std::vector<CKLVSyntaxEditLexClassInfo> {
public:
    BOOL m_bModified = FALSE;
};

// Block arrays by the exact path of their file.
typedef std::map<std::string, std::unique_ptr<CKLVSyntaxEditLexClassInfoArray>> CKLVSyntaxEditLexClassInfoMap;
