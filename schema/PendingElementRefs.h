#ifndef KELVANE_SCHEMA_PENDINGELEMENTREFS_H
#define KELVANE_SCHEMA_PENDINGELEMENTREFS_H

#include "schema/Element.h"
#include "schema/NameKeyMap.h"
#include "schema/QualifiedName.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Schema {

// The references to global elements that a schema met before their
// declaration: each name once, in order of first mention, with the
// particles written for it, and every mention in order for the messages
// about those that stay undefined. A name is settled once, and its
// particles take its declaration then; a particle whose content model has
// gone since (a type defined again frees the first one, a parse that
// unwinds frees what it had built) is passed over.
class PendingElementRefs {
public:
    // The declaration a name stands for, as the settling schema sees it;
    // none when it is not known yet.
    using LookUp = std::function<std::optional<Element>(const QualifiedName&)>;

    // Notes one mention of the name; answers the position of its entry, to
    // which the particle written for it is added.
    std::size_t mention(const QualifiedName& name);
    // The particle waits at position's name while *alive is true.
    void addParticle(std::size_t position, Element& particle, std::shared_ptr<const bool> alive);

    // Settles the name now with its declaration, when it waits.
    void settle(NameKeyView name, const Element& declaration);
    // Looks up every name still waiting, in order of first mention, and
    // settles those found. Answers the mentions of the names still waiting,
    // in order.
    std::vector<QualifiedName> settleAll(const LookUp& lookUp);
    // True when no name waits.
    bool empty() const { return waiting_ == 0; }

private:
    struct Particle {
        Element* element;
        std::shared_ptr<const bool> alive;
    };
    struct Name {
        QualifiedName name;
        std::vector<Particle> particles;
        bool settled = false;
    };

    void settle(Name& entry, const Element& declaration);
    // Drops the settled names; the positions of the others change.
    void dropSettled();
    // Forgets every name: none waits.
    void clear();

    std::vector<Name> names_;
    // Made with the first mention: a schema of many in a description often
    // has none, and an empty map already takes memory.
    std::unique_ptr<NameKeyMap<std::size_t>> positions_;
    std::vector<std::size_t> mentions_;
    std::size_t waiting_ = 0;
};

} // namespace Schema

#endif
