#include "wsdl/Operation.h"

#include "wsdl/Message.h"
#include "wsdl/WsdlException.h"

#include <ostream>
#include <utility>

namespace Wsdl {

namespace {

const std::string& nameOf(const Message* message)
{
    static const std::string none;
    return message != nullptr ? message->getName() : none;
}

} // namespace

Operation::Operation(WsdlParser* parser, PortType* portType) : WsdlElement(parser), portType_(portType)
{
}

Operation::~Operation() = default;

void Operation::setMessage(Message* message, int kind)
{
    if (message == nullptr)
        throw WsdlException("Invalid message name");
    switch (kind) {
    case Input:
        input_ = message;
        type_ = type_ == None ? OneWay : type_ == Notification ? SolicitResponse : None;
        break;
    case Output:
        output_ = message;
        type_ = type_ == None ? Notification : type_ == OneWay ? RequestResponse : None;
        break;
    case Fault:
        if (!faults_)
            faults_ = std::make_unique<std::list<Message*>>();
        faults_->push_back(message);
        break;
    default:
        break;
    }
}

void Operation::setAddressing(int kind, const std::string& name, const std::string& action)
{
    AddressingUse use{name, action};
    if (kind == Input)
        inputAddressing_ = std::move(use);
    else if (kind == Output)
        outputAddressing_ = std::move(use);
    else if (kind == Fault)
        faultAddressing_.push_back(std::move(use));
}

void Operation::print(std::ostream& out) const
{
    out << getName() << '\n' << type_ << '\n' << nameOf(input_) << '\n' << nameOf(output_) << '\n';
}

} // namespace Wsdl
