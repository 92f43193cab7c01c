#include "schema/TypeTable.h"

#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/XsdType.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

namespace Schema {

namespace {

constexpr int Growth = 5;

const std::map<std::string, int>& builtinNames()
{
    static const std::map<std::string, int> names = {
        {"string", XSD_STRING},       {"integer", XSD_INTEGER},   {"int", XSD_INT},
        {"byte", XSD_BYTE},           {"positiveInteger", XSD_POSINT}, {"unsignedInt", XSD_UINT},
        {"long", XSD_LONG},           {"unsignedLong", XSD_ULONG}, {"short", XSD_SHORT},
        {"unsignedShort", XSD_USHORT}, {"decimal", XSD_DECIMAL},  {"float", XSD_FLOAT},
        {"double", XSD_DOUBLE},       {"boolean", XSD_BOOLEAN},   {"time", XSD_TIME},
        {"dateTime", XSD_DATETIME},   {"date", XSD_DATE},         {"token", XSD_TOKEN},
        {"QName", XSD_QNAME},         {"NCName", XSD_NCNAME},     {"NMTOKEN", XSD_NMTOKEN},
        {"NMTOKENS", XSD_NMTOKENS},   {"base64Binary", XSD_BASE64BIN}, {"hexBinary", XSD_HEXBIN},
        {"any", XSD_ANY},             {"anyType", XSD_ANYTYPE},   {"anyURI", XSD_ANYURI}};
    return names;
}

int builtinId(const std::string& local)
{
    const auto found = builtinNames().find(local);
    return found == builtinNames().end() ? XSD_INVALID : found->second;
}

} // namespace

// Nothing is allocated before the first id: an imported schema of one type
// keeps a table of its own, and thousands of them may be read.
TypeTable::TypeTable() = default;

TypeTable::~TypeTable() = default;

bool TypeTable::inRange(int id) const
{
    return id >= FIRST_USER_TYPE && id < FIRST_USER_TYPE + count_;
}

TypeTable::Slot& TypeTable::slotOf(int id)
{
    return slots_[static_cast<std::size_t>(id - FIRST_USER_TYPE)];
}

int TypeTable::reserveSlot()
{
    if (count_ >= getCapacity())
        slots_.resize(static_cast<std::size_t>(count_ + Growth));
    slots_[static_cast<std::size_t>(count_)] = Slot();
    ++count_;
    return FIRST_USER_TYPE + count_ - 1;
}

void TypeTable::place(int id, XsdType* type, std::unique_ptr<XsdType> owned)
{
    Slot& slot = slotOf(id);
    slot.type = type;
    slot.owned = std::move(owned); // a displaced type of this table is freed here
}

std::pair<TypeTable::NameEntry, bool> TypeTable::enterName(std::string_view name)
{
    const auto nameOf = [](NameEntry entry) { return std::string_view(entry->first); };
    const auto [entry, fresh] = nameIndex_.emplaceMade(name, nameOf, [&] {
        return &names_.emplace_back(std::string(name), XSD_INVALID);
    });
    return {*entry, fresh};
}

TypeTable::NameEntry TypeTable::claimAnonymousName()
{
    // Skip names already taken, so that an anonymous type never lands on a
    // declared type (or on a name someone looked up).
    for (int number = count_;; ++number) {
        const auto [entry, fresh] = enterName("type" + std::to_string(number));
        if (fresh)
            return entry;
    }
}

void TypeTable::nameSlot(int id, NameEntry entry)
{
    entry->second = id;
    slotOf(id).name = &entry->first;
}

void TypeTable::renameAnonymous(int id)
{
    XsdType* holder = slotOf(id).type;
    // The name it leaves is free again: its entry stays, with no id, for
    // the declared type that takes it next.
    enterName(holder->getName()).first->second = XSD_INVALID;
    const NameEntry entry = claimAnonymousName();
    holder->setName(entry->first);
    nameSlot(id, entry);
}

int TypeTable::addType(std::unique_ptr<XsdType> type)
{
    if (!type)
        return XSD_INVALID;
    // The entry of the type's name, made with no id yet when the name is new.
    NameEntry entry = nullptr;
    if (type->getName().empty()) {
        entry = claimAnonymousName();
        type->setName(entry->first);
        type->setAnonymous(true);
    } else {
        entry = enterName(type->getName()).first;
    }
    int id = entry->second;
    if (id != XSD_INVALID && !type->isAnonymous()) {
        // A declared type whose name an anonymous type took first: the
        // anonymous one moves aside (its entry goes) and keeps its id.
        const XsdType* holder = slotOf(id).type;
        if (holder != nullptr && holder->isAnonymous()) {
            renameAnonymous(id);
            entry = enterName(type->getName()).first;
            id = XSD_INVALID;
        }
    }
    if (id == XSD_INVALID) {
        id = reserveSlot();
        nameSlot(id, entry);
    }
    type->setTypeId(id);
    XsdType* raw = type.get();
    place(id, raw, std::move(type));
    return id;
}

int TypeTable::getTypeId(const QualifiedName& name, bool create)
{
    const std::string& ns = name.getNamespace();
    const std::string& local = name.getLocalName();
    if (ns == SchemaUri) {
        const int id = builtinId(local);
        return id != XSD_INVALID ? id : XSD_STRING;
    }
    if (ns != targetNamespace_) {
        if (!ns.empty())
            return XSD_INVALID;
        const int id = builtinId(local);
        if (id != XSD_INVALID)
            return id;
    }
    // A name looked up is entered (with no id) even when none is made for it.
    const NameEntry entry = enterName(local).first;
    if (entry->second != XSD_INVALID || !create)
        return entry->second;
    const int id = reserveSlot();
    nameSlot(id, entry);
    return id;
}

int TypeTable::getDeclaredTypeId(const QualifiedName& name, bool create)
{
    const int id = getTypeId(name, false);
    if (inRange(id)) {
        const XsdType* holder = slotOf(id).type;
        if (holder != nullptr && holder->isAnonymous() && holder->getName() == name.getLocalName())
            renameAnonymous(id);
        else
            return id; // the id the name already has
    }
    return getTypeId(name, create);
}

int TypeTable::addExternalTypeId(const QualifiedName& name, XsdType* type)
{
    const bool anonymous = type != nullptr && type->isAnonymous();
    if (anonymous) {
        if (const int known = externalsByType_.find(type)) // ids are never 0
            return known;
    } else {
        if (const int* known = externalsByName_.find(name.key())) {
            if (type != nullptr && getTypePtr(*known) == nullptr)
                placeExternal(*known, type);
            return *known;
        }
    }
    const int id = reserveSlot();
    addExternal(id, type != nullptr ? type->getQName() : name, anonymous);
    placeExternal(id, type);
    return id;
}

int TypeTable::addExternal(int id, const QualifiedName& name, bool anonymous)
{
    slotOf(id).external = static_cast<int>(externals_.size());
    externals_.push_back(ExternalRef{id, name, anonymous});
    if (!anonymous)
        externalsByName_.emplace(name.key(), id);
    return id;
}

void TypeTable::placeExternal(int id, XsdType* type)
{
    place(id, type, nullptr);
    if (type != nullptr)
        externalsByType_.insert(type, id);
}

int TypeTable::resolveExternalType(XsdType* type, int id)
{
    if (!inRange(id))
        return XSD_INVALID;
    placeExternal(id, type);
    return id;
}

void TypeTable::adoptType(int id, XsdType* type)
{
    if (!inRange(id) || type == nullptr || getTypePtr(id) != nullptr)
        return;
    if (!isExternal(id))
        addExternal(id, type->getQName(), false);
    placeExternal(id, type);
}

bool TypeTable::isExternal(int id) const
{
    return inRange(id) && slots_[static_cast<std::size_t>(id - FIRST_USER_TYPE)].external >= 0;
}

XsdType* TypeTable::getTypePtr(int id) const
{
    return inRange(id) ? slots_[static_cast<std::size_t>(id - FIRST_USER_TYPE)].type : nullptr;
}

QualifiedName TypeTable::getTypeName(int id) const
{
    if (const XsdType* type = getTypePtr(id))
        return type->getQName();
    if (!inRange(id))
        return QualifiedName();
    const Slot& slot = slots_[static_cast<std::size_t>(id - FIRST_USER_TYPE)];
    if (slot.external >= 0)
        return externals_[static_cast<std::size_t>(slot.external)].name;
    QualifiedName name(slot.name != nullptr ? *slot.name : std::string());
    name.setNamespace(targetNamespace_);
    return name;
}

std::vector<QualifiedName> TypeTable::getUndefinedTypeNames() const
{
    std::vector<QualifiedName> names;
    for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + count_; ++id) {
        if (getTypePtr(id) == nullptr)
            names.push_back(getTypeName(id));
    }
    return names;
}

bool TypeTable::detectUndefinedTypes() const
{
    for (int i = 0; i < count_; ++i) {
        if (slots_[static_cast<std::size_t>(i)].type == nullptr)
            return true;
    }
    return false;
}

void TypeTable::printUndefinedTypes(std::ostream& out) const
{
    // The names are listed in alphabetical order.
    std::vector<const std::string*> undefined;
    names_.forEach([&](const auto& entry) {
        if (getTypePtr(entry.second) == nullptr)
            undefined.push_back(&entry.first);
    });
    std::sort(undefined.begin(), undefined.end(),
              [](const std::string* left, const std::string* right) { return *left < *right; });
    for (const std::string* name : undefined)
        out << "Could not find {" << targetNamespace_ << "}:" << *name << '\n';
}

template <typename Visit>
void TypeTable::forEachOwnComplexType(Visit visit)
{
    // Only this schema's own types: another schema's types are not ours to change.
    for (int i = 0; i < count_; ++i) {
        if (auto* complex = dynamic_cast<ComplexType*>(slots_[static_cast<std::size_t>(i)].owned.get()))
            visit(*complex);
    }
}

void TypeTable::resolveAttributeRefs(const AttributeResolver& resolve)
{
    forEachOwnComplexType([&](ComplexType& type) { type.matchAttributeRefs(resolve); });
}

void TypeTable::visitComplexTypes(const std::function<void(ComplexType&)>& visit)
{
    forEachOwnComplexType(visit);
}

void TypeTable::clean()
{
    slots_.clear();
    count_ = 0;
    names_.clear();
    nameIndex_.clear();
    externals_.clear();
    externalsByName_.clear();
    externalsByType_ = CPointerIndex<XsdType, int>();
}

} // namespace Schema
