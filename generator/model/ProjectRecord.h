#ifndef KELVANE_GENERATOR_MODEL_PROJECTRECORD_H
#define KELVANE_GENERATOR_MODEL_PROJECTRECORD_H

#include <string>

// The one open project, as the emitters read it: fields in the order the
// solution file and the frame keep them.
struct CProjectRecord {
    enum Platform { Windows = 0, Unix = 1 };
    enum LibraryType { DllLibrary = 0, StaticLibrary = 1 };
    enum AuthType { AuthNone = 0, AuthBasic = 1, AuthDigest = 2 };

    std::string wsdlPath;
    int authType = AuthNone;
    // 0 Windows; any other value is a Unix target.
    int targetPlatform = Windows;
    int libraryType = DllLibrary;
    std::string name;
    std::string location;
    // 0: every text member is allocated with the length of its text. N: texts
    // are fixed arrays, of N bytes where the schema gives no length or
    // maxLength facet.
    int textLength = 0;

    bool isWindowsTarget() const { return targetPlatform == Windows; }
    // Every value but none and Basic stands for Digest.
    bool authenticates() const { return authType != AuthNone; }
    bool usesDigest() const { return authType != AuthNone && authType != AuthBasic; }
};

#endif
