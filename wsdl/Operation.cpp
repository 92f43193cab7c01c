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
    if (kind != Input && kind != Output && kind != Fault)
        return;
    if (!addressing_) {
        if (kind != Fault && name.empty() && action.empty())
            return; // the same as none
        addressing_ = std::make_unique<Addressing>();
    }
    AddressingUse use{name, action};
    if (kind == Input)
        addressing_->input = std::move(use);
    else if (kind == Output)
        addressing_->output = std::move(use);
    else
        addressing_->faults.push_back(std::move(use));
}

const Operation::AddressingUse& Operation::getAddressing(int kind) const
{
    static const AddressingUse none;
    if (!addressing_)
        return none;
    return kind == Input ? addressing_->input : addressing_->output;
}

const std::vector<Operation::AddressingUse>& Operation::getFaultAddressing() const
{
    static const std::vector<AddressingUse> none;
    return addressing_ ? addressing_->faults : none;
}

void Operation::print(std::ostream& out) const
{
    out << getName() << '\n' << type_ << '\n' << nameOf(input_) << '\n' << nameOf(output_) << '\n';
}

} // namespace Wsdl
