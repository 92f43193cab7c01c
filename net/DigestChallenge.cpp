// Reading a Digest challenge out of WWW-Authenticate values: a list of
// challenges, each a scheme's name and its name=value parameters (tokens or
// quoted strings), a token68 or a stray byte passed over.
#include "net/DigestChallenge.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool isTokenChar(char c)
{
    return c > ' ' && c < 127 && std::strchr("\"(),/:;<=>?@[\\]{}", c) == nullptr;
}

bool sameWord(const std::string& text, const char* word)
{
    const std::size_t length = std::strlen(word);
    if (text.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}

bool listsWord(const std::string& list, const char* word)
{
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t start = list.find_first_not_of(" \t,", at);
        if (start == std::string::npos)
            return false;
        const std::size_t end = std::min(list.find_first_of(" \t,", start), list.size());
        if (sameWord(list.substr(start, end - start), word))
            return true;
        at = end;
    }
    return false;
}

class ChallengeReader {
public:
    explicit ChallengeReader(const std::string& text) : text_(text) {}

    // The next challenge the client can answer; false at the end or where the text broke off.
    bool next(DigestChallenge& found)
    {
        while (true) {
            skip(" \t,");
            const std::string name = token();
            const std::size_t equals = text_.find_first_not_of(" \t", at_);
            if (!name.empty() && equals != std::string::npos && text_[equals] == '=') {
                at_ = equals + 1;
                skip(" \t");
                std::string value;
                // A quote left open spoils the rest of the value.
                if (!quotedOrToken(value))
                    return false;
                if (digest_ && !take(name, value))
                    answerable_ = false;
                continue;
            }
            if (name.empty() && at_ < text_.size()) {
                ++at_;  // what a token68 leaves, or a stray byte
                continue;
            }
            // A scheme's name, or the end, completes the challenge before it. A session algorithm
            // hashes the client's nonce, which goes only with qop: without it no answer can be checked.
            if (digest_ && answerable_ && !challenge_.nonce.empty() && (challenge_.qop || !challenge_.session)) {
                found = challenge_;
                start(name);
                return true;
            }
            if (at_ >= text_.size())
                return false;
            start(name);
        }
    }

private:
    void start(const std::string& scheme)
    {
        digest_ = sameWord(scheme, "Digest");
        answerable_ = true;
        challenge_ = DigestChallenge();
    }

    void skip(const char* blanks)
    {
        const std::size_t next = text_.find_first_not_of(blanks, at_);
        at_ = next == std::string::npos ? text_.size() : next;
    }

    std::string token()
    {
        const std::size_t start = at_;
        while (at_ < text_.size() && isTokenChar(text_[at_]))
            ++at_;
        return text_.substr(start, at_ - start);
    }

    bool quotedOrToken(std::string& value)
    {
        if (at_ >= text_.size() || text_[at_] != '"') {
            value = token();
            return true;
        }
        for (++at_; at_ < text_.size() && text_[at_] != '"'; ++at_) {
            if (text_[at_] == '\\' && at_ + 1 < text_.size())
                ++at_;
            value += text_[at_];
        }
        if (at_ >= text_.size())
            return false;
        ++at_;
        return true;
    }

    // One parameter of a Digest challenge; false when the client cannot answer what it asks.
    bool take(const std::string& name, const std::string& value)
    {
        if (sameWord(name, "realm")) {
            challenge_.realm = value;
        } else if (sameWord(name, "nonce")) {
            challenge_.nonce = value;
        } else if (sameWord(name, "opaque")) {
            challenge_.opaque = value;
            challenge_.opaqueGiven = true;
        } else if (sameWord(name, "stale")) {
            challenge_.stale = sameWord(value, "true");
        } else if (sameWord(name, "qop")) {
            challenge_.qop = listsWord(value, "auth");
            return challenge_.qop;
        } else if (sameWord(name, "algorithm")) {
            static const char* const algorithms[] = {"MD5", "SHA-256", "MD5-sess", "SHA-256-sess"};
            for (int i = 0; i < 4; ++i) {
                if (sameWord(value, algorithms[i])) {
                    challenge_.sha256 = i % 2 == 1;
                    challenge_.session = i >= 2;
                    return true;
                }
            }
            return false;
        }
        return true;
    }

    const std::string& text_;
    std::size_t at_ = 0;
    bool digest_ = false;
    bool answerable_ = false;
    DigestChallenge challenge_;
};

}  // namespace

bool readDigestChallenge(const std::vector<std::string>& values, DigestChallenge& challenge)
{
    for (const std::string& value : values) {
        ChallengeReader reader(value);
        if (reader.next(challenge))
            return true;
    }
    return false;
}
