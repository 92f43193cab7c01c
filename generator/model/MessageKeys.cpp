#include "generator/model/MessageKeys.h"

#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/model/TextPool.h"

#include <algorithm>
#include <utility>

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
                addKey(op, direction, side.message, CMessageKey::RpcRequest, op.name, nullptr);
            else
                addKey(op, direction, side.message, CMessageKey::RpcResponse, op.name + "Response", nullptr);
            return;
        }
        const std::vector<CHeaderPart> headers = headerParts(side);
        bool bodyPart = false;
        for (const CViewPart& part : side.message->parts) {
            // Every part a soap:header carries travels in the Header, so none of them names the
            // message: the reader knows it by its Body element alone.
            const bool inBody = std::none_of(headers.begin(), headers.end(), [&](const CHeaderPart& header) {
                return isHeaderPart(part, header);
            });
            bodyPart = bodyPart || inBody;
            if (!inBody || part.refKind != CViewPart::ElementRef || part.element == nullptr)
                continue;
            addKey(op, direction, side.message, CMessageKey::Element, part.element->name, part.element);
        }
        // A message with nothing for the Body still goes out, in an empty Body.
        if (!bodyPart) {
            const std::string key = "#" + op.name + (direction == 0 ? "" : "Response");
            addKey(op, direction, side.message, direction == 0 ? CMessageKey::EmptyRequest : CMessageKey::EmptyResponse, key, nullptr);
        }
    });
    // Upper-casing can make two keys one identifier; the fixed kinds come first.
    CTextPool taken;
    taken.reserve(keys_.size() + 2);
    taken.add("HTTP");
    taken.add("SOAP_FAULT");
    for (CMessageKey& key : keys_) {
        std::string_view name(key.key);
        if (key.emptyBody())
            name.remove_prefix(1);
        const bool response = key.kind == CMessageKey::RpcResponse || key.kind == CMessageKey::EmptyResponse;
        if (response)
            name.remove_suffix(8); // "Response"
        key.id = upperName(sanitiseIdentifier(name));
        if (response)
            key.id += "_RESPONSE";
        if (taken.add(key.id))
            continue;
        const std::string base = key.id;
        for (int n = 2; !taken.add(key.id); ++n)
            key.id = base + "_" + std::to_string(n);
    }
}

void CMessageKeys::addKey(const CViewOperation& operation, int direction, const CViewMessage* message,
                          CMessageKey::Kind kind, const std::string& key, const CViewElement* element)
{
    auto found = byKey_.find(key);
    if (found == byKey_.end()) {
        CMessageKey added;
        added.kind = kind;
        added.key = key;
        added.element = element;
        added.firstDirection = direction;
        keys_.push_back(std::move(added));
        found = byKey_.emplace(keys_.back().key, &keys_.back()).first;
    }
    if (found->second->messages[direction] == nullptr)
        found->second->messages[direction] = message;
    byOperation_[std::make_pair(&operation, direction)].push_back(found->second);
}

const std::vector<const CMessageKey*>& CMessageKeys::keysOf(const CViewOperation& operation, int direction) const
{
    static const std::vector<const CMessageKey*> none;
    const auto found = byOperation_.find(std::make_pair(&operation, direction));
    return found == byOperation_.end() ? none : found->second;
}
