#include "generator/model/DefaultActions.h"

#include "wsdl/Operation.h"

namespace {

bool isUrn(const std::string& ns)
{
    return ns.size() >= 4 && (ns[0] == 'u' || ns[0] == 'U') && (ns[1] == 'r' || ns[1] == 'R') &&
        (ns[2] == 'n' || ns[2] == 'N') && ns[3] == ':';
}

} // namespace

CDefaultActions::CDefaultActions(const std::string& ns, const std::string& portType, const Wsdl::Operation& operation)
    : operation_(operation)
{
    const char delimiter = isUrn(ns) ? ':' : '/';
    prefix_ = ns;
    if (!prefix_.empty() && prefix_.back() != '/')
        prefix_ += delimiter;
    prefix_ += portType;
    prefix_ += delimiter;
}

// kind: the operation's input or output.
std::string CDefaultActions::named(int kind) const
{
    // What the operation's name takes by its type (none, one-way, notification, request-response,
    // solicit-response): the input's, then the output's.
    static const char* const ends[5][2] = {{"", ""}, {"", ""}, {"", ""}, {"Request", "Response"}, {"Response", "Solicit"}};
    const std::string& name = operation_.getAddressing(kind).name;
    if (!name.empty())
        return prefix_ + name;
    const int type = operation_.getType();
    return prefix_ + operation_.getName() + ends[type >= 0 && type < 5 ? type : 0][kind == Wsdl::Operation::Input ? 0 : 1];
}

std::string CDefaultActions::input() const
{
    return named(Wsdl::Operation::Input);
}

std::string CDefaultActions::output() const
{
    return named(Wsdl::Operation::Output);
}
