#ifndef KELVANE_SCHEMA_TYPETABLE_H
#define KELVANE_SCHEMA_TYPETABLE_H

#include "schema/Attribute.h"
#include "schema/Element.h"
#include "schema/FlatIndex.h"
#include "schema/NameKeyMap.h"
#include "schema/QualifiedName.h"
#include "schema/StableStore.h"
#include "xml/PointerIndex.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Schema {

class ComplexType;
class XsdType;

// Hands out type ids: 2 to 28 are the built-in types, 29 upwards the types
// of one schema (defined, referenced before their definition, or borrowed
// from another schema) in order of first mention.
class TypeTable {
public:
    // A type of another schema given an id here.
    struct ExternalRef {
        int typeId;
        QualifiedName name;
        // An anonymous type's name is made up by its own table: only the
        // object tells it apart, so it is never looked up by that name.
        bool anonymous = false;
    };

    TypeTable();
    ~TypeTable();
    TypeTable(const TypeTable&) = delete;
    TypeTable& operator=(const TypeTable&) = delete;

    // Takes ownership of a defined type and returns its id. An anonymous
    // type is named here ("type" + a number no other type uses).
    int addType(std::unique_ptr<XsdType> type);
    // The id of a name; with create, an unknown name of this schema gets a
    // new id whose type is still to come.
    int getTypeId(const QualifiedName& name, bool create = false);
    // As getTypeId, for a name written in a schema: a name that only an
    // anonymous type carries is a declared type still to come, so the
    // anonymous type moves aside and the name gets an id of its own.
    int getDeclaredTypeId(const QualifiedName& name, bool create = false);
    // An id for a type of another schema; the type (or null while unknown)
    // stays owned by that schema. A type given for a name still unknown here
    // fills its slot.
    int addExternalTypeId(const QualifiedName& name, XsdType* type);
    // Fills a reserved slot with another schema's type; 0 when the id is no slot.
    int resolveExternalType(XsdType* type, int id);
    // Fills the slot of a name of this schema, still to come, with the type
    // another schema of the same namespace defines; the id becomes external.
    void adoptType(int id, XsdType* type);
    // True for an id whose type belongs to another schema.
    bool isExternal(int id) const;

    // Null for ids outside this table and for types still undefined.
    XsdType* getTypePtr(int id) const;
    // The qualified name an id of this table stands for, also while its type
    // is still to come; empty for an id this table did not hand out.
    QualifiedName getTypeName(int id) const;
    int getNumTypes() const { return count_; }
    int getCapacity() const { return static_cast<int>(slots_.size()); }
    bool detectUndefinedTypes() const;
    // The names of the ids whose types are still undefined, in id order.
    std::vector<QualifiedName> getUndefinedTypeNames() const;
    void printUndefinedTypes(std::ostream& out) const;
    const std::vector<ExternalRef>& getExternalRefs() const { return externals_; }

    // Settle the attribute references waiting in every complex type this table defines.
    void resolveAttributeRefs(const AttributeResolver& resolve);
    // Every complex type this table defines.
    void visitComplexTypes(const std::function<void(ComplexType&)>& visit);

    const std::string& getTargetNamespace() const { return targetNamespace_; }
    void setTargetNamespace(const std::string& uri) { targetNamespace_ = uri; }

    // Frees the defined types and forgets every id; the table is as new.
    void clean();

private:
    struct Slot {
        XsdType* type = nullptr;
        std::unique_ptr<XsdType> owned; // set when this table defined the type
        // The local name this table gave the id: the text of its entry in
        // names_, which stays where it is; null while the id has none.
        const std::string* name = nullptr;
        int external = -1;              // the position in externals_, or -1
    };

    bool inRange(int id) const;
    Slot& slotOf(int id);
    // An entry of names_; it stays where it is while the index grows.
    using NameEntry = std::pair<const std::string, int>*;
    // The entry of the name, made with no id when the name is new; and
    // whether it was made.
    std::pair<NameEntry, bool> enterName(std::string_view name);
    // A new entry of names_ for an anonymous type, without an id yet.
    NameEntry claimAnonymousName();
    int reserveSlot();
    void place(int id, XsdType* type, std::unique_ptr<XsdType> owned);
    void renameAnonymous(int id);
    // Gives the entry's name the id, in the index and in the id's slot.
    void nameSlot(int id, NameEntry entry);
    int addExternal(int id, const QualifiedName& name, bool anonymous);
    void placeExternal(int id, XsdType* type);
    template <typename Visit>
    void forEachOwnComplexType(Visit visit);

    // What a look-up by name and finalize read come first, side by side:
    // another schema's look-up finds them out of cache.
    std::vector<Slot> slots_;
    int count_ = 0;
    // The entries of names_ by name. Every reference to a type looks its name
    // up: the flat index reads one run of slots and the entry, where a
    // node-based map read a bucket and a chain of nodes, each a cache miss
    // once the schema outgrows the cache.
    FlatIndex<NameEntry, std::string_view, std::hash<std::string_view>> nameIndex_;
    std::string targetNamespace_;
    std::vector<ExternalRef> externals_;
    // Every name of this schema given or looked up, with its id (none for a
    // name only looked up), in order of first mention.
    StableStore<std::pair<const std::string, int>> names_;
    // The external ids by name (named types) and by type object; a schema
    // may take types from thousands of others, and the flat index allocates
    // nothing per type where a node-based map allocated a node.
    NameKeyMap<int> externalsByName_;
    CPointerIndex<XsdType, int> externalsByType_;
};

} // namespace Schema

#endif
