#include "schema/PendingElementRefs.h"

#include <utility>

namespace Schema {

// A name settled already that is mentioned again (its declaration could not
// be seen from where the new mention stands) waits anew in an entry of its
// own.
std::size_t PendingElementRefs::mention(const QualifiedName& name)
{
    if (!positions_)
        positions_ = std::make_unique<NameKeyMap<std::size_t>>();
    const auto [position, fresh] = positions_->emplace(name.key(), names_.size());
    if (!fresh && names_[*position].settled)
        *position = names_.size();
    if (*position == names_.size()) {
        names_.push_back(Name{name, {}, false});
        ++waiting_;
    }
    mentions_.push_back(*position);
    return *position;
}

void PendingElementRefs::addParticle(std::size_t position, Element& particle, std::shared_ptr<const bool> alive)
{
    names_[position].particles.push_back(Particle{&particle, std::move(alive)});
}

// Once nothing waits, the list starts afresh: in a schema that declares each
// element soon after the types that refer to it, it never grows beyond the
// few names waiting at a time.
void PendingElementRefs::settle(NameKeyView name, const Element& declaration)
{
    const std::size_t* position = positions_ ? positions_->find(name) : nullptr;
    if (position == nullptr || names_[*position].settled)
        return;
    settle(names_[*position], declaration);
    if (waiting_ == 0)
        clear();
}

void PendingElementRefs::clear()
{
    names_.clear();
    if (positions_)
        positions_->clear();
    mentions_.clear();
}

void PendingElementRefs::settle(Name& entry, const Element& declaration)
{
    for (const Particle& particle : entry.particles) {
        if (*particle.alive)
            particle.element->assignDeclaration(declaration);
    }
    // Freed now, while they are fresh, rather than all at once at the end.
    std::vector<Particle>().swap(entry.particles);
    entry.settled = true;
    --waiting_;
}

std::vector<QualifiedName> PendingElementRefs::settleAll(const LookUp& lookUp)
{
    for (Name& entry : names_) {
        if (entry.settled)
            continue;
        if (const std::optional<Element> declaration = lookUp(entry.name))
            settle(entry, *declaration);
    }
    std::vector<QualifiedName> missing;
    for (const std::size_t position : mentions_) {
        if (!names_[position].settled)
            missing.push_back(names_[position].name);
    }
    dropSettled();
    return missing;
}

void PendingElementRefs::dropSettled()
{
    if (waiting_ == 0) {
        clear();
        return;
    }
    std::vector<std::size_t> moved(names_.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < names_.size(); ++i)
        moved[i] = names_[i].settled ? names_.size() : kept++;
    std::vector<std::size_t> mentions;
    for (const std::size_t position : mentions_) {
        if (moved[position] != names_.size())
            mentions.push_back(moved[position]);
    }
    std::vector<Name> names;
    positions_->clear();
    for (Name& entry : names_) {
        if (entry.settled)
            continue;
        positions_->emplace(entry.name.key(), names.size());
        names.push_back(std::move(entry));
    }
    names_ = std::move(names);
    mentions_ = std::move(mentions);
}

} // namespace Schema
