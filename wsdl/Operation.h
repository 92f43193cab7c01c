#ifndef KELVANE_WSDL_OPERATION_H
#define KELVANE_WSDL_OPERATION_H

#include "wsdl/WsdlElement.h"

#include <list>
#include <memory>
#include <string>
#include <vector>

namespace Wsdl {

class Message;
class PortType;

// An operation of a port type, with its input, output and fault messages.
// The operation owns its fault list, not the messages.
class Operation : public WsdlElement {
public:
    // Transmission primitive, from the order of input and output.
    enum Type { None = 0, OneWay = 1, Notification = 2, RequestResponse = 3, SolicitResponse = 4 };
    // The role a message takes in setMessage.
    enum MessageKind { Input = 0, Output = 1, Fault = 2 };

    Operation(WsdlParser* parser, PortType* portType);
    ~Operation() override;

    void print(std::ostream& out) const override;

    // Throws WsdlException "Invalid message name" for a null message. An
    // input after nothing makes a one-way operation, after an output a
    // solicit-response; an output after nothing a notification, after an
    // input a request-response; any other order leaves the type None.
    void setMessage(Message* message, int kind);

    // What a message of the operation says for WS-Addressing: the name of its
    // input, output or fault element (empty without) and its explicit Action.
    struct AddressingUse {
        std::string name;
        std::string action;
    };
    void setAddressing(int kind, const std::string& name, const std::string& action);
    const AddressingUse& getAddressing(int kind) const;
    // One per fault, in document order.
    const std::vector<AddressingUse>& getFaultAddressing() const;

    PortType* getPortType() const { return portType_; }
    int getType() const { return type_; }
    Message* getInput() const { return input_; }
    Message* getOutput() const { return output_; }
    // Null until the first fault.
    const std::list<Message*>* getFaults() const { return faults_.get(); }

private:
    PortType* portType_;
    int type_ = None;
    Message* input_ = nullptr;
    Message* output_ = nullptr;
    std::unique_ptr<std::list<Message*>> faults_;
    // Most operations say nothing for WS-Addressing: what one says is held
    // apart, so that a port type of thousands of operations stays small.
    struct Addressing {
        AddressingUse input;
        AddressingUse output;
        std::vector<AddressingUse> faults;
    };
    std::unique_ptr<Addressing> addressing_;
};

} // namespace Wsdl

#endif
