#ifndef KELVANE_SCHEMA_SIMPLETYPE_H
#define KELVANE_SCHEMA_SIMPLETYPE_H

#include "schema/XsdType.h"

#include <map>
#include <string>
#include <vector>

namespace Schema {

// A simple type: a restriction of a base type by facets, a list of an item
// type, or a union of member types.
class SimpleType : public XsdType {
public:
    // Facet bits; a name that is no facet has bit NONE.
    enum Facet {
        NONE = 0,
        LENGTH = 1,
        MINLEN = 2,
        MAXLEN = 4,
        ENUM = 8,
        WSP = 16,
        MAXINC = 32,
        MININC = 64,
        MAXEX = 128,
        MINEX = 256,
        TOTALDIGITS = 512,
        FRACTIONDIGITS = 1024,
        PATTERN = 2048
    };
    enum WhiteSpace { PRESERVE = 0, REPLACE = 1, COLLAPSE = 2 };
    // The four value slots that facets share (see getFacetSlot).
    enum Slot { SlotA = 0, SlotB = 1, SlotC = 2, SlotD = 3 };

    explicit SimpleType(SharedText typeNamespace);

    bool isSimple() const override { return true; }

    static int getFacetId(const std::string& facet);
    // The facet bits a base type admits.
    static int getValidFacets(int baseTypeId);
    // The facet bits of a built-in type of XML Schema by its name; a name
    // that is none stands for string, as its type id does.
    static int getBuiltinFacets(const std::string& localName);
    // The lasting copy of a built-in type's local name; null for a name
    // that is none.
    static const char* getBuiltinName(const std::string& localName);
    // The facets this type's own restrictions admit: those of the base it
    // was derived from, by name, when that is known.
    void setValidFacets(int facets) { validFacets_ = facets; }
    int getValidFacets() const { return validFacets_ >= 0 ? validFacets_ : getValidFacets(getBaseTypeId()); }

    // Throws when no base type is known yet.
    bool isValidFacet(const std::string& facet) const;
    // Records one facet of a restriction; throws on a bad whiteSpace value.
    // A numeric value that is no int is not kept: no int check could use it.
    void setFacets(const std::string& facet, const std::string& value);

    bool isValidInt(int value) const;
    bool isValidString(const std::string& value) const;
    bool isValidFloat(float value) const;

    // A list of itemTypeId: the item type becomes the base, by restriction.
    void setListType(int itemTypeId);
    void addMemberType(int typeId);

    bool isList() const { return list_; }
    bool isUnion() const { return union_; }
    const std::vector<int>& getMemberTypes() const { return memberTypes_; }
    const std::vector<std::string>& getEnumerations() const { return enumerations_; }
    // Facet bits in the order they were recorded; enumeration appears once.
    const std::vector<int>& getFacets() const { return facets_; }
    bool hasFacet(int facet) const;
    // The shared slots: a later facet of the same slot overwrites the value.
    int getFacetSlot(int slot) const { return slots_[slot]; }
    // The latest value of one numeric facet (whiteSpace gives its code), 0 when absent.
    int getFacetValue(int facet) const;
    const std::string& getPattern() const { return pattern_; }
    // A facet's value as written (bounds may be decimals); empty when absent.
    const std::string& getFacetText(int facet) const;
    // The local name of the built-in type it restricts (its own base), when
    // the restriction names one; null otherwise.
    const char* getBuiltinBaseName() const { return builtinBaseName_; }
    void setBuiltinBaseName(const char* name) { builtinBaseName_ = name; }

    [[noreturn]] void error(const std::string& message) const;

private:
    static int slotOf(int facet);
    // False when the value is no int (a decimal or out-of-range bound).
    static bool readNumber(const std::string& value, int& number);
    int whiteSpaceCode(const std::string& value) const;
    void storeValue(int facet, int value);
    void recordFacet(int facet);
    bool acceptsLength(int facet, long long length) const;
    bool enumerates(int value) const;

    std::vector<int> facets_;
    std::vector<std::string> enumerations_;
    int slots_[4] = {0, 0, 0, 0};
    // Each facet's own value: the checks must not read a value that another
    // facet of the same slot has overwritten.
    std::map<int, int> values_;
    std::map<int, std::string> texts_; // as written, of the facets with one value
    const char* builtinBaseName_ = nullptr; // static text
    std::string pattern_;
    bool list_ = false;
    bool union_ = false;
    std::vector<int> memberTypes_;
    int validFacets_ = -1; // -1: by the base's type id
};

} // namespace Schema

#endif
