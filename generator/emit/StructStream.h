#ifndef KELVANE_GENERATOR_EMIT_STRUCTSTREAM_H
#define KELVANE_GENERATOR_EMIT_STRUCTSTREAM_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class CEmitContext;
class CTextBuffer;
class CViewType;

// The member tables by which fragments/struct_stream.c reads a document
// message straight into its struct: one row per struct (its members' span,
// size and required members) and one per member (its element, offsets,
// shape and the conversion of its text), for the types messages reach.
// A type is read so only where the reading matches its decoder exactly:
// members that are numbers, texts, structs and repeats of them, each an
// element of its own local name, and every struct it reaches likewise.
class CStructStream {
public:
    explicit CStructStream(const CEmitContext& context) : context_(context) {}

    // The index of the type's table, added with every struct it reaches;
    // -1 where the type is not read so.
    int add(const CViewType& type);
    bool empty() const { return order_.empty(); }

    // The fragment, the conversions the tables name, and the tables.
    void write(CTextBuffer& out);

private:
    // The type's own members allow the reading (the structs they reach aside).
    bool membersReadable(const CViewType& type);
    // Calls visit with each struct the type's members hold as structs of their own.
    template <class Visit>
    void forEachStructOf(const CViewType& type, Visit visit);
    // Settles whether the type and every struct it reaches are readable,
    // for it and every type first met on the way: each type is walked once
    // over all the calls, where walking each type's whole closure anew cost
    // the square of a chain of types.
    void settleClosure(const CViewType& type);
    // Gives the type and the structs it reaches that have no table yet one
    // each, first each time: a type with a table has tables for all it reaches.
    void index(const CViewType& type);
    // The number of the function that converts a member's text into place
    // (mysax_store<number>), written when it is new.
    std::size_t storeOf(const struct CStructMember& member);
    // Calls visit with the value of each member that has one, in the tables' order.
    template <class Visit>
    void forEachValue(Visit visit) const;
    // The conversions' functions, each once, in the order the members name
    // them; memberStores_ keeps which one each member names, so that the
    // member table finds it without making its text again.
    void writeStores(CTextBuffer& out);
    // The member table, and the type table that spans it.
    void writeMembers(CTextBuffer& out);
    void writeTypes(CTextBuffer& out);

    const CEmitContext& context_;
    std::unordered_map<const CViewType*, bool> readable_;
    // Per type settled: whether it and every struct it reaches are readable.
    std::unordered_map<const CViewType*, bool> closureReadable_;
    std::unordered_map<const CViewType*, int> index_;
    std::vector<const CViewType*> order_;
    std::map<std::string, std::size_t> stores_; // a conversion's text -> its function's number, while they are written
    std::vector<std::uint32_t> memberStores_;   // by member with a value, in the tables' order: its function's number
    CTextBuffer* storesOut_ = nullptr;
};

#endif
