// Makes the lexer the one that colours editor buffers: buffers created afterwards get a
// background parser each and share one configuration manager.
#pragma once

void KLVRegisterSyntaxEditLexer();
