// Names of the document resolved to model objects.

#include "wsdl/QualifiedName.h"
#include "wsdl/WsdlParser.h"

namespace Wsdl {

Message* WsdlParser::getMessage(const Schema::QualifiedName& name) const
{
    for (const auto& message : messages_) {
        if (message->getName() == name.getLocalName())
            return message.get();
    }
    return nullptr;
}

// An operation may name a message before its definition: the definition
// fills the message made here.
Message* WsdlParser::getMessageOrCreate(const Schema::QualifiedName& name)
{
    if (Message* message = getMessage(name))
        return message;
    auto message = std::make_unique<Message>(this);
    message->setName(name.getLocalName());
    messages_.push_back(std::move(message));
    return messages_.back().get();
}

} // namespace Wsdl
