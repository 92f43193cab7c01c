#ifndef KELVANE_GENERATOR_MODEL_DEFAULTACTIONS_H
#define KELVANE_GENERATOR_MODEL_DEFAULTACTIONS_H

#include <string>

namespace Wsdl {
class Operation;
}

// The WS-Addressing Action of an operation's messages where the document
// gives none: namespace, port type and message name joined by '/' (':' for a
// URN namespace; no second '/' behind a namespace that ends in one), the
// message named by its element's name, else by the operation's name with
// what its kind adds ("Request" and "Response", "Solicit", nothing alone).
class CDefaultActions {
public:
    CDefaultActions(const std::string& ns, const std::string& portType, const Wsdl::Operation& operation);

    std::string input() const;
    std::string output() const;

private:
    std::string named(int kind) const;

    std::string prefix_; // namespace, port type and their delimiters
    const Wsdl::Operation& operation_;
};

#endif
