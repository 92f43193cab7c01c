#ifndef KELVANE_GENERATOR_MODEL_STRUCTLAYOUT_H
#define KELVANE_GENERATOR_MODEL_STRUCTLAYOUT_H

#include "generator/model/Identifier.h"
#include "generator/model/PairHash.h"
#include "generator/model/ShortText.h"
#include "generator/model/ServiceView.h"
#include "generator/model/StableList.h"
#include "generator/model/TextArena.h"
#include "generator/model/TextPool.h"
#include "generator/model/ViewIndexed.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct CStructDef;

// One member of a generated struct. The header writes it; encoders,
// decoders and print functions read and fill exactly these members.
struct CStructMember {
    enum Kind : unsigned char {
        Number,      // "<C type of builtin> <cName>;"
        Text,        // "char *<cName>;", or "char <cName>[<lengthConstant>+1];" of fixed texts
        Struct,      // "<proj>_<target>_t <cName>;" (or a pointer, see below)
        // Arrays hold count items in storage the decoder allocates (or the
        // caller, for a message it sends), so that structs stay small:
        NumberArray, // "<C type> *<cName>;" with "int <countName>;"
        TextArray,   // "char (*<cName>)[<lengthConstant>+1];" with count
        StructArray, // "struct <proj>_<target>_t *<cName>;" with count
        Dummy        // "int dummy;" of a struct that has nothing else
    };
    // Where the value stands in a document.
    enum Origin : unsigned char { Attribute, Element, Items, Value, Part, None };

    // The flags and numbers stand first, side by side, so that the record
    // every emitter pass reads stays small.
    Kind kind = Dummy;
    Origin origin = None;
    // An xsd:any (its text is the markup of the elements it stands for) or
    // an anyAttribute (nothing a message can name).
    bool wildcard = false;
    // An element of xsd:anyType (or of no type): its text is the markup of
    // the element's content, written and read as it is.
    bool anyContent = false;
    // An element its content model lets stand out (minOccurs 0, or a
    // branch of a choice).
    bool optional = false;
    // nillable="true", or an item of a SOAP array: it may stand as
    // xsi:nil="true" (of an array: each item may).
    bool nillable = false;
    // Set where holding the target by value would make the structs hold
    // each other: the member is "struct <tag> *<cName>;" instead. Set on
    // every text unless texts are fixed arrays, and then on a base64Binary,
    // hexBinary, xsd:any or anyType text: "char *<cName>;" ("char **<cName>;"
    // of repeated ones, each item so), allocated with the text's length by
    // the decoder (by the caller for a message it sends).
    bool pointer = false;
    int builtin = 0;            // Number kinds: the built-in type id
    int valueBuiltin = 0;       // Number and text kinds: the built-in type of the value; 0 when unknown
    // Element: also a repeated element (maxOccurs above 1), held as an array.
    // The name in documents: attribute, element or part name; for Items the
    // item elements' name ("*" for a wildcard); for Value the type's name.
    // The texts are the layout's copies, which live as long as it does: a
    // member is made by the thousand, and a short text takes half a view's
    // room.
    CShortText xmlName;
    // The namespace xmlName stands in, for an element or attribute whose
    // name is qualified; empty otherwise.
    CShortText ns;
    // The layout's copy (a fixed text of a member made by hand).
    CShortText cName;
    // The flags beside a value: "<cName>_present" of an optional single
    // element (an array's count says how many stand), "<cName>_nil" of a
    // nillable one (of a repeated one: a pointer to a flag per item);
    // empty when the member has none. They and the count's name are the
    // layout's copies (one of each text), which live as long as it does.
    CShortText presentName;
    CShortText nilName;
    // An anyType element: "<cName>_type" holds its own xsi:type as
    // written, "<cName>_type_ns" the namespace of its prefix (allocated
    // texts; of a repeated element, a pointer to one of each per item).
    // Also a part, header member or global element's value of anyType.
    // Empty names for every other member.
    CShortText typeName;
    CShortText typeNsName;
    CShortText countName; // arrays
    // Fixed text kinds: the macro of the text's length, one of the layout's
    // lengthConstants(); empty for an allocated text.
    CShortText lengthConstant;
    const CStructDef* target = nullptr; // Struct kinds
    const CViewType* userType = nullptr;   // Struct kinds
    const CViewPart* part = nullptr;       // Part members

    bool isArray() const { return kind == NumberArray || kind == TextArray || kind == StructArray; }
};

// One generated struct.
struct CStructDef {
    enum Kind : unsigned char {
        TypeStruct,    // a user type
        ElementStruct, // a global element; may also name its type
        ElementAlias,  // "typedef <proj>_<aliasOf>_t <proj>_<name>_t;"
        MessageStruct  // "<proj>_<name>_t" with name "<M>_msg"
    };

    std::size_t index = 0;  // position in the layout's list of structs
    Kind kind = TypeStruct;
    // The names are the view's C names, which outlive the layout, or (of a
    // message struct) the layout's copy.
    std::string_view name;       // the X of "<proj>_X_t"; also the struct tag's X
    std::string_view secondName; // ElementStruct: the type it also names; empty when none
    const CStructDef* aliasOf = nullptr;
    const CViewType* type = nullptr;       // the type whose members it holds
    const CViewElement* element = nullptr; // element structs and aliases
    const CViewMessage* message = nullptr; // message structs
    std::vector<CStructMember> members;

    // The members the struct holds: an alias's are those of what it aliases.
    const std::vector<CStructMember>& heldMembers() const;
};

// The element name of one item of an array member of arrayType: the
// wildcard of a SOAP array takes the item type's name, or for built-in
// items the array type's name up to "Array" ("item" when nothing stands
// before it).
std::string itemElementName(const CViewType& arrayType, const CStructMember& member);

// The number or text member that holds the value a part or header member
// carries: the member itself, or the one member of the element struct it
// holds by value when that element has a built-in type; null for a struct
// of a user type and for anything else.
const CStructMember* carriedValue(const CStructMember& member);

// A length macro that text members use, with its value.
struct CLengthConstant {
    std::string name; // "<PROJ>_MAX_..._LEN"
    int value = 128;
};

// The structs of one header, worked out once from the view and the project
// name: which types, elements and messages get a struct, their members with
// their C names and length macros, and the order of definition.
class CStructLayout {
public:
    // Texts are allocated with their length: no valid message is too long.
    static constexpr int AllocatedTexts = 0;

    // textLength: AllocatedTexts, or the length of the fixed array of a text
    // whose schema gives it no length or maxLength facet (the facet's value
    // is that of the others).
    CStructLayout(const CServiceView& view, const std::string& projectName, int textLength = AllocatedTexts);
    CStructLayout(const CStructLayout&) = delete;
    CStructLayout& operator=(const CStructLayout&) = delete;

    const std::string& proj() const { return proj_; }
    const std::string& projUpper() const { return projUpper_; }
    int textLength() const { return textLength_; }
    bool allocatesTexts() const { return textLength_ <= AllocatedTexts; }
    // "<proj>_<name>_t".
    std::string typeName(const std::string& name) const { return proj_ + "_" + name + "_t"; }

    // Type and element structs and aliases, each after what it holds by value.
    const std::vector<const CStructDef*>& typeStructs() const { return typeOrder_; }
    // The types that have a struct, each once: the document's schemas in
    // slot order, then the types only members reach. They get the codecs.
    const std::vector<const CViewType*>& codecTypes() const { return codecTypes_; }
    // Message structs in the order of the bound operations.
    const std::vector<const CStructDef*>& messageStructs() const { return messageOrder_; }
    // The structs of the messages bound operations declare as faults, each
    // once, in operation order: a fault's detail may hold one. A message
    // that is also an operation's input or output is one of messageStructs
    // too.
    const std::vector<const CStructDef*>& faultStructs() const { return faultOrder_; }
    // Whether the struct is one of faultStructs only.
    bool isFaultOnly(const CStructDef& def) const;
    // The packet's members for soap:header parts, in operation order.
    const std::vector<CStructMember>& headerMembers() const { return headerMembers_; }
    // How many structs there are: their indexes run from 0 below it.
    std::size_t structCount() const { return defs_.size(); }
    // The struct that defines a type, or an element's struct; null when none.
    const CStructDef* structOf(const CViewType* type) const;
    const CStructDef* structOf(const CViewElement* element) const;
    const CStructDef* structOf(const CViewMessage* message) const;
    // The packet member of a header part; null when it has none.
    const CStructMember* headerMember(const CViewMessage* message, int partIndex) const;

    // Whether a member keeps an anyType value's own xsi:type; and whether
    // one does beyond a type's element that stands once (a repeated
    // element's items, a part, a header member, a global element's value).
    bool keepsOwnTypes() const;
    bool keepsOtherOwnTypes() const;
    // Whether a SOAP array's items have nil flags (every array whose items
    // the layout holds has them).
    bool hasNilItems() const;

    // Every length macro the members use, in first use, with the fixed
    // limits of the generated code first.
    const std::deque<CLengthConstant>& lengthConstants() const { return lengths_; }
    // The fixed limits (USER, IP, URL ... with their values), by suffix.
    static const std::vector<std::pair<const char*, int>>& fixedLengths();

private:
    CStructDef& newDef(CStructDef::Kind kind, std::string_view name);
    void chooseTypes();
    void choose(const CViewType* type, std::vector<const CViewType*>& work);
    void createTypeAndElementDefs();
    void fillTypeMembers(CStructDef& def, const CViewType& type, CNameScope& scope);
    void fillValueMember(CStructDef& def, const CViewType& type, CNameScope& scope);
    void fillParticles(CStructDef& def, const CViewType& type, CNameScope& scope);
    void fillElementDef(CStructDef& def, const CViewElement& element);
    void orderTypeDefs();
    void listCodecTypes();
    std::vector<int> baseOrder() const;
    // byType: -1 for every type position, as each leaves it.
    void appendSchemaTypes(const CViewSchema& schema, std::vector<int>& byType, std::vector<int>& base) const;
    void appendSchemaElements(const CViewSchema& schema, std::vector<int>& byType, std::vector<int>& base) const;
    // A type's position in the view's list; NoIndex for null or a type of another view.
    std::size_t positionOf(const CViewType* type) const;
    void createMessageDefs();
    void createFaultDefs();
    void fillMessageMembers(CStructDef& def, const CViewMessage& message, const CHeaderPart& header);
    void createHeaderMembers();
    void addHeaderMember(const CHeaderPart& header);
    bool partMember(const CViewPart& part, const CViewMessage& message, const std::string& memberName,
                    CStructMember& member);
    CStructMember structMember(const CViewType* type, const std::string& cName);
    CShortText lengthConstant(const std::string& key, int value);
    // A text member's length macro; none when texts are allocated.
    CShortText textLengthConstant(const std::string& key, int value);
    // The layout's copy of a text its members name, one of each.
    CShortText pooled(std::string_view text);
    // A member's name in documents: its C name's text when the two read
    // alike, else the layout's copy.
    CShortText xmlText(std::string_view name, CShortText cName);
    void addMember(std::vector<CStructMember>& members, CStructMember&& member) const;
    // Whether members of a struct, message or the packet's header keep an own
    // type: beyond a type's single element unless onlyOthers is false.
    bool keepOwnTypes(bool onlyOthers) const;
    // Names the members that keep an anyType value's own xsi:type, in scope
    // (none: the names need no claim, the member standing alone).
    void nameOwnType(CStructMember& member, CNameScope* scope);

    const CServiceView& view_;
    std::string proj_;
    std::string projUpper_;
    int textLength_;
    CStableList<CStructDef> defs_;
    CViewIndexed<CViewType, bool> chosen_; // the types that get a struct
    CViewIndexed<CViewType, CStructDef*> typeDefs_;
    CViewIndexed<CViewElement, CStructDef*> elementDefs_;
    CViewIndexed<CViewMessage, CStructDef*> messageDefs_;
    std::vector<const CStructDef*> typeOrder_;
    std::vector<const CStructDef*> messageOrder_;
    std::vector<const CStructDef*> faultOrder_;
    std::vector<const CViewType*> codecTypes_;
    std::vector<CStructMember> headerMembers_;
    CNameScope headerScope_; // the packet's members
    std::unordered_map<std::pair<const CViewMessage*, int>, std::size_t, CPairHash> headerIndex_;
    CTextPool names_; // the members' flag and count names and namespaces, the message structs' names
    CTextArena cNames_; // the members' C names, mostly each its own
    std::deque<CLengthConstant> lengths_; // members view the names: they never move
    std::unordered_map<std::string_view, const CLengthConstant*> lengthsByName_;
    std::string lengthName_; // where lengthConstant() puts a name together
};

#endif
