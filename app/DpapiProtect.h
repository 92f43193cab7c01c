// Secrets kept in the project folder go through the system's data protection (CryptProtectData):
// only the same user on the same machine can read them back.
#pragma once

#include <string>

// The protected bytes of the text (none for an empty text); false with the system's words for the
// cause when it refused.
bool DpapiProtect(const std::string& strClear, std::string& strProtected, std::string& strWhy);
// The text back from its protected bytes; false when they are damaged or another user's.
bool DpapiUnprotect(const std::string& strProtected, std::string& strClear);
