// The call window's settings, kept in the project folder without a password in clear.
#include "project/call/CallSettings.h"

#include "project/call/FieldText.h"
#include "project/call/WholeFile.h"
#include "net/HexDigits.h"
#include "project/ProjectFiles.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

const char* const kFileName = "call.settings";
const char* const kFormat = "settings 1";
const char* const kAuthNames[] = {"none", "basic", "digest"};

std::string hexOf(const std::string& bytes)
{
    const char* const digits = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

bool bytesOf(const std::string& hex, std::string& bytes)
{
    if (hex.size() % 2 != 0)
        return false;
    std::string read;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigitValue(hex[i]);
        const int low = hexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        read += static_cast<char>(high * 16 + low);
    }
    bytes = std::move(read);
    return true;
}

const TextFieldName<CallSettings> kTextFields[] = {
    {"ca-file", &CallSettings::caFile}, {"proxy", &CallSettings::proxy}, {"proxy-user", &CallSettings::proxyUser},
    {"user", &CallSettings::user},      {"ws-security-user", &CallSettings::wsSecurityUser},
};

}  // namespace

bool readTimeoutSeconds(const std::string& text, int& seconds)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int read = std::stoi(text);
    if (read < 1 || read > MostTimeoutSeconds)
        return false;
    seconds = read;
    return true;
}

std::string CallSettings::endpointFor(const std::string& port, const std::string& portAddress) const
{
    const auto found = endpoints.find(port);
    return found == endpoints.end() || found->second.empty() ? portAddress : found->second;
}

CallSettingsStore::CallSettingsStore(const std::string& projectFolder, SecretProtection protection)
    : path_((std::filesystem::path(projectFolder) / kFileName).string()), protection_(std::move(protection))
{
}

bool CallSettingsStore::protectedField(std::string& text, const char* name, const std::string& password,
                                       std::string& why) const
{
    std::string bytes;
    why.clear();
    if (!password.empty() && (!protection_.protect(password, bytes, why) || bytes.empty())) {
        std::string words(name);
        std::replace(words.begin(), words.end(), '-', ' ');
        why = "the " + words + " could not be protected for keeping: "
            + (why.empty() ? std::string("the protection gave nothing back") : why);
        return false;
    }
    FieldText::append(text, name, hexOf(bytes));
    return true;
}

bool CallSettingsStore::text(const CallSettings& settings, std::string& text, std::string& why) const
{
    text = std::string(kFormat) + "\n";
    for (const auto& endpoint : settings.endpoints)
        FieldText::append(text, "endpoint", endpoint.first + " " + endpoint.second);
    FieldText::append(text, "ca-file", settings.caFile);
    FieldText::append(text, "verify", settings.verifyCertificate ? "yes" : "no");
    FieldText::append(text, "proxy", settings.proxy);
    FieldText::append(text, "proxy-user", settings.proxyUser);
    if (!protectedField(text, "proxy-password", settings.proxyPassword, why))
        return false;
    FieldText::append(text, "auth", kAuthNames[settings.auth]);
    FieldText::append(text, "user", settings.user);
    if (!protectedField(text, "password", settings.password, why))
        return false;
    FieldText::append(text, "timeout", std::to_string(settings.timeoutSeconds));
    FieldText::append(text, "ws-security-user", settings.wsSecurityUser);
    return true;
}

bool CallSettingsStore::readPassword(const std::string& value, std::string& password) const
{
    std::string bytes;
    password.clear();
    return value.empty() || (bytesOf(value, bytes) && protection_.unprotect(bytes, password));
}

CallSettings CallSettingsStore::read(const std::string& text, std::vector<CallSettingsProblem>& problems) const
{
    CallSettings settings;
    FieldText fields(text);
    std::string name;
    std::string value;
    if (!fields.next(name, value) || name + " " + value != kFormat) {
        problems.push_back({1, 1, "not a settings file of this program (\"" + std::string(kFormat) + "\" expected)"});
        return settings;
    }
    // A line that does not read is passed over: the others still apply.
    while (!fields.atEnd()) {
        if (!fields.next(name, value)) {
            problems.push_back({fields.line(), fields.column(), fields.error()});
            continue;
        }
        const int column = static_cast<int>(name.size()) + 2;
        const std::size_t space = value.find(' ');
        bool read = true;
        if (std::string* field = textField(settings, kTextFields, name))
            *field = value;
        else if (name == "endpoint" && space != std::string::npos && space > 0)
            settings.endpoints[value.substr(0, space)] = value.substr(space + 1);
        else if (name == "verify" && (value == "yes" || value == "no"))
            settings.verifyCertificate = value == "yes";
        else if (name == "auth" && (value == "none" || value == "basic" || value == "digest"))
            settings.auth = value == "basic" ? CallSettings::AuthBasic
                : value == "digest"          ? CallSettings::AuthDigest
                                             : CallSettings::AuthNone;
        else if (name == "timeout")
            read = readTimeoutSeconds(value, settings.timeoutSeconds);
        else if (name == "password")
            read = readPassword(value, settings.password);
        else if (name == "proxy-password")
            read = readPassword(value, settings.proxyPassword);
        else if (name == "endpoint" || name == "verify" || name == "auth")
            read = false;
        // Names of a later version are passed over.
        if (!read)
            problems.push_back({fields.line(), column, "the " + name + " cannot be read from this value"});
    }
    return settings;
}

CallSettings CallSettingsStore::load(std::vector<std::string>& problems) const
{
    std::string text;
    if (!readDocumentFile(path_, text))
        return CallSettings();
    std::vector<CallSettingsProblem> found;
    CallSettings settings = read(text, found);
    for (const CallSettingsProblem& problem : found)
        problems.push_back(path_ + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": "
                           + problem.message);
    return settings;
}

bool CallSettingsStore::save(const CallSettings& settings, std::string& why) const
{
    std::string fileText;
    return text(settings, fileText, why) && replaceWholeFile(path_, fileText, why);
}
