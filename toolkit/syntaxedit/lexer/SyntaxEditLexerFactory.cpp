#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"

namespace {

IKLVSyntaxEditLexParser* CreateParser() { return new CKLVSyntaxEditLexParser; }

IKLVSyntaxEditConfigManager* CreateConfigManager() { return new CKLVSyntaxEditConfigManager; }

const KLV_SYNTAXEDIT_LEXER_FACTORY g_factory = {&CreateParser, &CreateConfigManager};

}  // namespace

void KLVRegisterSyntaxEditLexer() { KLVSetSyntaxEditLexerFactory(&g_factory); }
