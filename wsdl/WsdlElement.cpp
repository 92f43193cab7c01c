#include "wsdl/WsdlElement.h"

#include <ostream>

namespace Wsdl {

namespace {

void printIds(std::ostream& out, const std::vector<int>& ids)
{
    out << ids.size();
    for (int id : ids)
        out << ' ' << id;
    out << '\n';
}

} // namespace

WsdlElement::WsdlElement(WsdlParser* parser) : parser_(parser)
{
}

WsdlElement::~WsdlElement() = default;

void WsdlElement::print(std::ostream& out) const
{
    printIds(out, extElements_);
    printIds(out, extAttributes_);
}

} // namespace Wsdl
