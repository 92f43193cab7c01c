#ifndef KELVANE_PROJECT_CALL_CALLSETTINGS_H
#define KELVANE_PROJECT_CALL_CALLSETTINGS_H

#include <functional>
#include <map>
#include <string>
#include <vector>

// How the call window reaches the service, kept per project.
struct CallSettings {
    enum Auth { AuthNone, AuthBasic, AuthDigest };

    std::map<std::string, std::string> endpoints;  // an address the user gave, by port name
    std::string caFile;
    bool verifyCertificate = true;
    std::string proxy;  // host:port; empty for the system's setting
    std::string proxyUser;
    std::string proxyPassword;
    Auth auth = AuthNone;
    std::string user;
    std::string password;
    int timeoutSeconds = 30;
    std::string wsSecurityUser;  // the WS-Security username token's user

    // The address to call for the port: the user's, else the port's own.
    std::string endpointFor(const std::string& port, const std::string& portAddress) const;
};

// A call waits at least a second and at most a day.
constexpr int MostTimeoutSeconds = 86400;
// The time-out as the user or the settings file wrote it: whole seconds from
// 1 to MostTimeoutSeconds; false, seconds unchanged, for anything else.
bool readTimeoutSeconds(const std::string& text, int& seconds);

// Turns a secret into bytes only this user can turn back, and back. protect
// returns false with the cause in why when it could not protect the secret;
// unprotect returns false when the bytes cannot be turned back (another
// user, damage). The program passes the platform's data protection; tests
// pass their own.
struct SecretProtection {
    std::function<bool(const std::string& secret, std::string& bytes, std::string& why)> protect;
    std::function<bool(const std::string& bytes, std::string& secret)> unprotect;
};

// A problem of the settings file, with the spot where reading stopped.
struct CallSettingsProblem {
    int line = 0;
    int column = 0;
    std::string message;
};

// The settings in the file "call.settings" of the project folder: "name
// value" lines, the passwords only in their protected form (hexadecimal).
class CallSettingsStore {
public:
    CallSettingsStore(const std::string& projectFolder, SecretProtection protection);

    const std::string& path() const { return path_; }

    // The settings saved; defaults without a file. A line that does not read
    // is named in problems ("path:line:column: message") and the others still
    // apply; a password that cannot be turned back is left empty and named too.
    CallSettings load(std::vector<std::string>& problems) const;
    // False with why when a password could not be protected (the file is
    // left as it was: a password is never kept empty in its stead) or the
    // file could not be written.
    bool save(const CallSettings& settings, std::string& why) const;

    // The file's text (false with why as save says), and the settings back from it.
    bool text(const CallSettings& settings, std::string& text, std::string& why) const;
    CallSettings read(const std::string& text, std::vector<CallSettingsProblem>& problems) const;

private:
    bool protectedField(std::string& text, const char* name, const std::string& password, std::string& why) const;
    bool readPassword(const std::string& value, std::string& password) const;

    std::string path_;
    SecretProtection protection_;
};

#endif
