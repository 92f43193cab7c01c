#include "generator/model/MessageKeys.h"

#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"

#include <set>

CMessageKeys::CMessageKeys(const CServiceView& view)
{
    for (const CViewPortType& portType : view.portTypes()) {
        if (!portType.operations.empty())
            hasOperations_ = true;
    }
    forEachBoundMessage(view, [&](const CViewPortType&, const CViewOperation& op, int direction,
                                  const CViewDirection& side) {
        if (op.style == CViewOperation::Rpc) {
            if (direction == 0)
                addKey(op, direction, CMessageKey::RpcRequest, op.name, nullptr);
            else
                addKey(op, direction, CMessageKey::RpcResponse, op.name + "Response", nullptr);
            return;
        }
        for (const CViewPart& part : side.message->parts) {
            if (isHeaderPart(part, side.header) || part.refKind != CViewPart::ElementRef || part.element == nullptr)
                continue;
            addKey(op, direction, CMessageKey::Element, part.element->name, part.element);
        }
    });
    // Upper-casing can make two keys one identifier; the fixed kinds come first.
    std::set<std::string> taken = {"HTTP", "SOAP_FAULT"};
    for (CMessageKey& key : keys_) {
        const std::string base = key.kind == CMessageKey::RpcResponse
            ? upperName(sanitiseIdentifier(key.key.substr(0, key.key.size() - 8))) + "_RESPONSE"
            : upperName(sanitiseIdentifier(key.key));
        key.id = base;
        for (int n = 2; !taken.insert(key.id).second; ++n)
            key.id = base + "_" + std::to_string(n);
    }
}

void CMessageKeys::addKey(const CViewOperation& operation, int direction, CMessageKey::Kind kind,
                          const std::string& key, const CViewElement* element)
{
    auto found = byKey_.find(key);
    if (found == byKey_.end()) {
        CMessageKey added;
        added.kind = kind;
        added.key = key;
        added.tagValue = key;
        added.element = element;
        found = byKey_.emplace(key, keys_.size()).first;
        keys_.push_back(added);
    }
    byOperation_[std::make_pair(&operation, direction)].push_back(found->second);
}

std::vector<const CMessageKey*> CMessageKeys::keysOf(const CViewOperation& operation, int direction) const
{
    std::vector<const CMessageKey*> result;
    const auto found = byOperation_.find(std::make_pair(&operation, direction));
    if (found != byOperation_.end()) {
        for (std::size_t index : found->second)
            result.push_back(&keys_[index]);
    }
    return result;
}
