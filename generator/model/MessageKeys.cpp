#include "generator/model/MessageKeys.h"

#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/model/TextPool.h"

#include <algorithm>
#include <functional>
#include <utility>

CMessageKeys::CMessageKeys(const CServiceView& view)
{
    addPortTypes(view);
    forEachBoundMessage(view, [&](const CViewPortType&, const CViewOperation& op, int direction,
                                  const CViewDirection& side) {
        if (op.style == CViewOperation::Rpc) {
            if (direction == 0)
                addKey(op, direction, side.message, CMessageKey::RpcRequest, op.name, nullptr);
            else
                addKey(op, direction, side.message, CMessageKey::RpcResponse, std::string(op.name) + "Response", nullptr);
            return;
        }
        const CListRun<CHeaderPart> headers = headerParts(side);
        bool bodyPart = false;
        for (const CViewPart& part : side.message->parts) {
            // Every part a soap:header carries travels in the Header, so none of them names the
            // message: the reader knows it by its Body element alone.
            const bool inBody = !inHeader(part, headers);
            bodyPart = bodyPart || inBody;
            if (!inBody || part.refKind != CViewPart::ElementRef || part.element == nullptr)
                continue;
            addKey(op, direction, side.message, CMessageKey::Element, part.element->name, part.element);
        }
        // A message with nothing for the Body still goes out, in an empty Body.
        if (!bodyPart) {
            const std::string key = "#" + std::string(op.name) + (direction == 0 ? "" : "Response");
            addKey(op, direction, side.message, direction == 0 ? CMessageKey::EmptyRequest : CMessageKey::EmptyResponse, key, nullptr);
        }
    });
    // Upper-casing can make two keys one identifier; the fixed kinds come first.
    CTextPool taken;
    taken.reserve(keys_.size() + 2);
    taken.add("HTTP");
    taken.add("SOAP_FAULT");
    std::string id;
    for (CMessageKey& key : keys_) {
        std::string_view name(key.key);
        if (key.emptyBody())
            name.remove_prefix(1);
        const bool response = key.kind == CMessageKey::RpcResponse || key.kind == CMessageKey::EmptyResponse;
        if (response)
            name.remove_suffix(8); // "Response"
        id = upperName(sanitiseIdentifier(name));
        if (response)
            id += "_RESPONSE";
        if (!taken.add(id)) {
            const std::string base = id;
            for (int n = 2; !taken.add(id); ++n)
                id = base + "_" + std::to_string(n);
        }
        key.id = madeKeys_.keep(id);
    }
}

void CMessageKeys::addPortTypes(const CServiceView& view)
{
    std::size_t slots = 0;
    for (const CViewPortType& portType : view.portTypes()) {
        if (portType.operations.empty())
            continue;
        hasOperations_ = true;
        const CViewOperation* first = portType.operations.data();
        portTypes_.push_back(CPortUses{first, first + portType.operations.size(), slots});
        slots += 2 * portType.operations.size();
    }
    std::sort(portTypes_.begin(), portTypes_.end(), [](const CPortUses& a, const CPortUses& b) {
        return std::less<const CViewOperation*>()(a.first, b.first);
    });
    slots_.resize(slots);
}

std::size_t CMessageKeys::slotOf(const CViewOperation& operation, int direction) const
{
    const std::less<const CViewOperation*> before;
    const auto after = std::upper_bound(portTypes_.begin(), portTypes_.end(), &operation,
                                        [&](const CViewOperation* op, const CPortUses& uses) { return before(op, uses.first); });
    if (after == portTypes_.begin() || !before(&operation, (after - 1)->end))
        return slots_.size();
    const CPortUses& uses = *(after - 1);
    return uses.firstSlot + 2 * static_cast<std::size_t>(&operation - uses.first) + (direction == 0 ? 0 : 1);
}

void CMessageKeys::addKey(const CViewOperation& operation, int direction, const CViewMessage* message,
                          CMessageKey::Kind kind, std::string_view key, const CViewElement* element)
{
    auto found = byKey_.find(key);
    if (found == byKey_.end()) {
        CMessageKey added;
        added.kind = kind;
        added.index = keys_.size();
        added.key = kind == CMessageKey::Element ? key : madeKeys_.keep(key);
        added.element = element;
        added.firstDirection = direction;
        keys_.push_back(std::move(added));
        found = byKey_.emplace(keys_.back().key, &keys_.back()).first;
    }
    if (found->second->messages[direction] == nullptr)
        found->second->messages[direction] = message;
    // A use's keys are added one after the other, so that they stand side by side.
    CUseRun& run = slots_[slotOf(operation, direction)];
    if (run.begin == run.end)
        run.begin = run.end = uses_.size();
    uses_.push_back(found->second);
    ++run.end;
}

CKeysOfUse CMessageKeys::keysOf(const CViewOperation& operation, int direction) const
{
    const std::size_t slot = slotOf(operation, direction);
    if (slot == slots_.size())
        return CKeysOfUse();
    return CKeysOfUse(uses_.data() + slots_[slot].begin, uses_.data() + slots_[slot].end);
}
