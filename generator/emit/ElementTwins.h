#ifndef KELVANE_GENERATOR_EMIT_ELEMENTTWINS_H
#define KELVANE_GENERATOR_EMIT_ELEMENTTWINS_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CTextBuffer;
struct CStructDef;
struct CStructMember;

// A derived type may declare again an element its base declares (the same
// namespace and local name): its content is the base's particles and then
// its own, so both elements stand in it, in that order, and each has a
// member of its own. Such members ("twins") take the elements of their name
// by position: the first that comes goes to the first member, the second to
// the second. Only members that stand once are twins; a repeated one takes
// every element of its name as before.
class CElementTwins {
public:
    struct Place {
        std::size_t place; // among the twins of its name, from 0
        std::size_t count; // how many twins the name has
    };

    // Reads the struct's members; true when any two are twins.
    bool read(const CStructDef& def);
    // The member's place among its twins; null for a member without one
    // (the struct read last holds it).
    const Place* placeOf(const CStructMember& member) const;

    // The C test that the element at cur is the member's by its position,
    // beside named (the test of its name): the last twin takes every later
    // one too, so that it can refuse it.
    static std::string positionTest(const std::string& named, const Place& place);
    // The test, inside the last twin's block, that the element is one too many.
    static std::string surplusTest(const Place& place);
    // mydecode_earlier, which those tests call (after mydecode_named).
    static void writeHelper(CTextBuffer& out);

private:
    std::vector<const CStructMember*> sorted_; // the struct's single elements, by name
    std::vector<std::pair<const CStructMember*, Place>> twins_;
};

#endif
