#ifndef KELVANE_GENERATOR_MODEL_MESSAGEKEYS_H
#define KELVANE_GENERATOR_MODEL_MESSAGEKEYS_H

#include "generator/model/ListRun.h"
#include "generator/model/ServiceView.h"
#include "generator/model/StableList.h"
#include "generator/model/TextArena.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The message kinds of a service: one key per body element of a document
// style operation, per rpc operation and per rpc response, and per request
// or response of a document style operation whose Body stands empty (its
// message has no body part), in the order of the bound operations. The tag constants, the message ids and everything
// that switches on a packet's message type read them from here, so that
// they always agree.
struct CMessageKey {
    enum Kind { Element, RpcRequest, RpcResponse, EmptyRequest, EmptyResponse };
    Kind kind = Element;
    std::size_t index = 0; // position in the keys' list
    // Element name, operation name, or operation name + "Response"; for an
    // empty Body "#" and the operation name (+ "Response"), which no element
    // name can be. An element's is the view's text of its name; the others
    // are the keys' own copies.
    std::string_view key;
    // Upper-cased identifier part, unique among the keys and the fixed kinds
    // HTTP and SOAP_FAULT: "<ELEMENT>", "<OPERATION>" or "<OPERATION>_RESPONSE".
    // The keys' own copy, side by side with the others.
    std::string_view id;
    const CViewElement* element = nullptr; // Element keys
    // The message of the first use in each direction (0 request, 1
    // response; null: none), and the direction of the first use of all,
    // which a packet that does not say its direction goes by.
    const CViewMessage* messages[2] = {nullptr, nullptr};
    int firstDirection = 0;

    bool emptyBody() const { return kind == EmptyRequest || kind == EmptyResponse; }
    // The XML name the tag constant holds (the key); empty for an empty Body,
    // which has no tag constant.
    std::string_view tagValue() const { return emptyBody() ? std::string_view() : std::string_view(key); }
    // The direction whose message differs from the first use's: a packet
    // of this kind holds that message when it says it goes that way; -1
    // when every use sends the first use's message.
    int otherDirection() const
    {
        const int other = 1 - firstDirection;
        return messages[other] != nullptr && messages[other] != messages[firstDirection] ? other : -1;
    }
};

// The keys of one direction of a bound operation, in part order.
using CKeysOfUse = CListRun<const CMessageKey*>;

class CMessageKeys {
public:
    explicit CMessageKeys(const CServiceView& view);
    // The uses point into the keys: no copies.
    CMessageKeys(const CMessageKeys&) = delete;
    CMessageKeys& operator=(const CMessageKeys&) = delete;

    const CStableList<CMessageKey>& keys() const { return keys_; }
    // The keys of one direction of a bound operation, in part order; none
    // for an operation of another view.
    CKeysOfUse keysOf(const CViewOperation& operation, int direction) const;
    // True when the walk meets a port type with at least one operation,
    // which opens the message id enumeration.
    bool hasOperations() const { return hasOperations_; }

private:
    // A port type's operations, which stand side by side in its list, and
    // the first of their use slots (two per operation: request, response).
    struct CPortUses {
        const CViewOperation* first = nullptr;
        const CViewOperation* end = nullptr;
        std::size_t firstSlot = 0;
    };

    void addPortTypes(const CServiceView& view);
    // The slot of an operation's direction; slots_.size() for an operation of another view.
    std::size_t slotOf(const CViewOperation& operation, int direction) const;
    // An Element key is the element's name in the view, kept as a view of it.
    void addKey(const CViewOperation& operation, int direction, const CViewMessage* message, CMessageKey::Kind kind,
                std::string_view key, const CViewElement* element);

    // Where the keys of a use stand in uses_.
    struct CUseRun {
        std::size_t begin = 0;
        std::size_t end = 0;
    };

    CStableList<CMessageKey> keys_; // grows without moving the keys the uses point at
    std::unordered_map<std::string_view, CMessageKey*> byKey_; // views of the keys' texts
    CTextArena madeKeys_; // the keys that are not an element's name, and the ids
    // A look-up reads two arrays where a hash table node per use was read.
    std::vector<CPortUses> portTypes_; // by the address of their first operation
    std::vector<CUseRun> slots_;
    std::vector<const CMessageKey*> uses_; // each use's keys side by side
    bool hasOperations_ = false;
};

#endif
