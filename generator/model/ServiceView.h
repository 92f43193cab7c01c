#ifndef KELVANE_GENERATOR_MODEL_SERVICEVIEW_H
#define KELVANE_GENERATOR_MODEL_SERVICEVIEW_H

#include "generator/model/BuiltinTypes.h"
#include "generator/model/PairHash.h"
#include "generator/model/StableList.h"
#include "generator/model/TextArena.h"
#include "generator/model/TextPool.h"
#include "generator/model/ValueFacets.h"
#include "generator/model/ViewIndexed.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class CViewType;

// What a type id stands for once it is read in the table it belongs to.
struct CTypeRef {
    int builtin = 0;                 // a row of BuiltinTypes.h; 0 for a user or an unknown type
    const CViewType* user = nullptr; // null for a built-in or an unknown type
    // The built-in type's local name where the schema named one (types such
    // as nonNegativeInteger have no id of their own); null otherwise.
    const char* xsdName = nullptr;

    bool isText() const { return isTextTypeId(builtin); }
    bool isNumeric() const { return isNumericTypeId(builtin); }
    bool isUser() const { return user != nullptr; }
    bool isKnown() const { return builtin != 0 || user != nullptr; }
};

// Every namespace an entity below holds is a view of the service view's
// one copy of it (CServiceView::namespaceText); every name held as a view
// is a view of the service view's copy of it (CServiceView::nameText).

struct CViewAttribute {
    std::string_view name; // as in the document; an anyAttribute's is its namespace list
    CTypeRef type;
    // In documents the name stands in ns when qualified, in none otherwise.
    bool qualified = false;
    bool required = false; // use="required"
    std::string_view ns;
    // The value its declaration fixes, else its default; empty without.
    std::string_view givenValue;
    bool isWildcard() const { return isWildcardTypeId(type.builtin); }
};

// A direct element entry of a content model (nested groups and sequences
// are not entered). A wildcard stands as an element named "*".
struct CViewParticle {
    std::string_view name;
    CTypeRef type;
    int minOccurs = 1;
    int maxOccurs = 1;
    bool nillable = false; // may stand as xsi:nil="true"
    // In documents the name stands in ns when qualified, in none otherwise.
    bool qualified = false;
    // It stands in a branch of a choice other than the choice's first (the
    // choice its own type's model or a nested one).
    bool laterBranch = false;
    std::string_view ns;
    bool isWildcard() const { return name == "*"; }
    // An xsd:any: any element goes here; its name is its namespace list.
    bool isAnyElement() const { return isWildcardTypeId(type.builtin) && !isWildcard(); }
};

// One user type, however many schemas list it. Its ids are read in the
// table of the schema that defines it.
class CViewType {
public:
    static constexpr std::size_t NoIndex = static_cast<std::size_t>(-1);
    std::size_t index = NoIndex; // position in the view's list of types
    std::string_view name;
    std::string_view ns;
    std::string_view cName;     // unique among the header's struct names
    CTypeRef base;
    // A simple type's own facets but its enumerations, held by the view;
    // null when it has none (most types are complex).
    const CValueFacets* facets = nullptr;
    // A simple type's enumeration facets in document order; empty without
    // (a restriction of an enumerated type may have none of its own).
    std::vector<std::string> enumerations;
    std::vector<CViewAttribute> attributes;
    std::vector<CViewParticle> particles;
    int contentKind = 0;    // 1 simple content, 2 complex content, 3 mixed
    int maxLength = -1;     // a simple type's length or maxLength facet; -1 without
    // The built-in type the values finally have (simple types and simple
    // content); 0 when unknown or complex.
    int valueType = 0;
    bool simple = false;
    bool hasContentModel = false;
    bool soapArray = false; // derived from the SOAP encoding's Array
    bool anonymous = false; // declared inside an element: no name documents can use
    bool choice = false;    // its content model is a choice: one of its elements stands in a document

    bool isNamedArray() const { return name == "Array"; }
    bool hasSimpleContent() const { return !simple && contentKind == 1; }
    // A complex type whose elements make a struct of their own.
    bool isStructured() const { return !simple && !hasSimpleContent() && hasContentModel && !isNamedArray(); }
    // The values its enumeration allows: its own, or those of the type it
    // restricts; null when it has none.
    const std::vector<std::string>* allowedValues() const;
};

struct CViewElement {
    static constexpr std::size_t NoIndex = static_cast<std::size_t>(-1);
    std::size_t index = NoIndex; // position in the view's list of elements
    std::string_view name;
    std::string_view ns;
    std::string_view cName; // unique among the header's struct names
    CTypeRef type;
    int schemaIndex = -1;
};

struct CViewSchema {
    int index = 0; // 0 for the first schema of the document's types
    std::string_view ns;
    // Slot i stands for type id Schema::FIRST_USER_TYPE + i of this schema; null for a type
    // referenced and never defined.
    std::vector<const CViewType*> types;
    // Global element declarations in declaration order ("schema" left out).
    std::vector<const CViewElement*> elements;

    CTypeRef resolve(int typeId) const;
};

struct CViewPart {
    enum RefKind { ElementRef = 1, TypeRef = 2 };
    std::string_view name;
    std::string_view cName; // unique among the members of its message
    int refKind = TypeRef;
    const CViewElement* element = nullptr; // element parts only; null when unresolved
    CTypeRef type; // the part's type, or its element's
};

struct CViewMessage {
    static constexpr std::size_t NoIndex = static_cast<std::size_t>(-1);
    std::size_t index = NoIndex; // position in the view's list of messages
    std::string_view ns;        // the target namespace of the document that defines it
    std::string_view name;      // whole name
    std::string_view cName;     // from shortName(), unique among messages and structs
    std::vector<CViewPart> parts;

    // The name behind its first '.'.
    std::string_view shortName() const;
};

// The part a soap:header names: a message and a position in it.
struct CHeaderPart {
    const CViewMessage* message = nullptr;
    int partIndex = -1;
    const CViewPart* part() const;
};

// One direction of a bound operation: the message, and the first
// soap:header of the SOAP binding's record for it that names a message.
struct CViewDirection {
    const CViewMessage* message = nullptr;
    CHeaderPart header;
    // Every soap:header that names a part, in document order (header first).
    std::vector<CHeaderPart> headers;
    // The soap:body: use="encoded", and its namespace attribute.
    bool encoded = false;
    std::string_view bodyNamespace;
};

struct CViewOperation {
    enum Style { Rpc = 0, Document = 1 };
    std::string_view name;
    std::string_view cName;
    const CViewMessage* input = nullptr;
    const CViewMessage* output = nullptr;
    // Set when the port type has a SOAP binding with a record of this
    // operation's name.
    bool soapBound = false;
    bool hasSoapOperation = false; // the record holds a soap:operation
    int style = Document;          // the binding's default without one
    std::string_view soapAction; // the view's copy (CServiceView::nameText)
    // The SOAP version of the binding it is bound by (11 or 12): the envelope
    // and HTTP headers its messages go in.
    int soapVersion = 11;
    CViewDirection in;
    CViewDirection out;
    // The messages of its wsdl:faults, in document order: what a fault's
    // detail may hold.
    std::vector<const CViewMessage*> faults;
    // WS-Addressing: whether its binding asks for it, and the Action its
    // request and response go with (the document's, else for the request its
    // soapAction, else the default pattern's); views of nameText copies.
    bool addressing = false;
    std::string_view inputAction;
    std::string_view outputAction;

    const CViewDirection& direction(int d) const { return d == 0 ? in : out; }
};

struct CViewBinding {
    std::string_view ns;
    std::string name;
    std::string protocolNamespace;
    std::string portTypeName;
    int soapVersion = 0; // 11 or 12 for a SOAP binding, else 0
    // The WS-SecurityPolicy assertions its policies make (tokens, security bindings), in document order.
    std::vector<std::string> securityPolicy;
};

struct CViewPortType {
    std::string_view ns;
    std::string name;
    std::vector<CViewOperation> operations;
    // The first SOAP 1.1 binding of the port type, else its first SOAP 1.2 one.
    const CViewBinding* soapBinding = nullptr;
    // The port type once more, for its SOAP 1.2 binding beside a SOAP 1.1
    // one: the same operations, whose C names end in "_soap12".
    bool secondVersion = false;
};

struct CViewService {
    struct Port {
        std::string name;
        const CViewBinding* binding = nullptr;
        std::string address; // the soap:address location; empty without
    };
    std::string name;
    std::vector<Port> ports;
};

// The parsed service as every emitter reads it, built once after the parse
// and never changed by the emitters. Lists keep document order; the order
// in which emitters visit types is computed on separate lists (TypeOrder.h).
// Objects live in stable lists, so pointers into the view stay valid while
// entities are added.
// Several threads read one view at once (the layout beside the message
// keys, the files and the source's parts beside each other): every const
// member only reads. The look-ups by name write their indexes, so they are
// not const and need the view to themselves.
class CServiceView {
public:
    CServiceView() = default;
    CServiceView(const CServiceView&) = delete;
    CServiceView& operator=(const CServiceView&) = delete;
    CServiceView(CServiceView&&) = default;
    CServiceView& operator=(CServiceView&&) = default;

    // Building, by the reader of the parse or by hand in tests. An entity's
    // ns and name stay as given: the indexes look at them.
    CViewType& addType(const std::string& ns, const std::string& name);
    CViewElement& addElement(const std::string& ns, const std::string& name, CTypeRef type, int schemaIndex);
    CViewSchema& addSchema(const std::string& ns);
    CViewMessage& addMessage(const std::string& name, const std::string& ns = std::string());
    CViewPortType& addPortType(const std::string& name);
    CViewBinding& addBinding(const std::string& name);
    CViewService& addService(const std::string& name);
    void setTargetNamespace(const std::string& ns) { targetNamespace_ = ns; }
    // Gives a type facets of its own (empty until filled).
    CValueFacets& addFacets(CViewType& type);
    // The view's one copy of a namespace (entities hold views of it, valid
    // while the view lives); empty for an empty one.
    std::string_view namespaceText(std::string_view ns) { return namespaces_.intern(ns); }
    // How many namespaces the view holds a copy of, and whether ns is one.
    std::size_t namespaceCount() const { return namespaces_.size(); }
    bool holdsNamespace(std::string_view ns) const { return namespaces_.contains(ns); }
    // The view's copy of a name (entities hold views of it, valid while the
    // view lives); empty for an empty one. Names are many and mostly
    // differ, so they are kept side by side rather than looked up.
    std::string_view nameText(std::string_view name) { return names_.keep(name); }
    // A C name worked out from a name the view holds: most are spelt as the
    // name itself, and share its text.
    std::string_view cNameText(std::string_view name, std::string_view cName)
    {
        return cName == name ? name : nameText(cName);
    }
    // Gives every type, element, message, part and operation its C name.
    // Called once, when everything is added.
    void assignNames();

    const std::string& targetNamespace() const { return targetNamespace_; }
    const CStableList<CViewSchema>& schemas() const { return schemas_; }
    // Every user type once, in the order the schemas' slots first list them.
    const CStableList<CViewType>& types() const { return types_; }
    const CStableList<CViewElement>& elements() const { return elements_; }
    const CStableList<CViewMessage>& messages() const { return messages_; }
    const CStableList<CViewPortType>& portTypes() const { return portTypes_; }
    const CStableList<CViewBinding>& bindings() const { return bindings_; }
    const CStableList<CViewService>& services() const { return services_; }

    // By (namespace, local name); null when none. The first one added wins.
    // Only readers of a view by hand look entities up by name: the indexes
    // are brought up to date by the look-ups, so a run of the emitters
    // builds none.
    const CViewType* findType(const std::string& ns, const std::string& name);
    const CViewElement* findElement(const std::string& ns, const std::string& name);
    const CViewMessage* findMessage(const std::string& name);
    // A service may be spread over documents of several namespaces, each
    // with messages of the same names.
    const CViewMessage* findMessage(const std::string& ns, const std::string& name);
    // A type id read in the table of schema index; unknown outside the schemas.
    CTypeRef resolve(int schemaIndex, int typeId) const;
    // The global element that has type first (document order); null when none.
    const CViewElement* firstElementOfType(const CViewType* type) const;

    // Struct names the generated code uses for itself.
    static const std::vector<std::string>& reservedStructNames();
    static const std::vector<std::string>& reservedMessageNames();

private:
    // Views of the names the entities themselves hold (list elements
    // never move), so that an index keeps no second copy of them.
    using Key = std::pair<std::string_view, std::string_view>;

    // An index of the entities of a list by key, holding those added since
    // it was last brought up to date on the next look-up.
    template <class Entity, class IndexKey, class Hash = std::hash<IndexKey>>
    class CLazyIndex {
    public:
        template <class KeyOf>
        const Entity* find(const CStableList<Entity>& entities, const IndexKey& key, KeyOf keyOf)
        {
            for (; indexed_ < entities.size(); ++indexed_)
                index_.emplace(keyOf(entities[indexed_]), &entities[indexed_]); // the first one stays
            const auto found = index_.find(key);
            return found == index_.end() ? nullptr : found->second;
        }

    private:
        std::unordered_map<IndexKey, const Entity*, Hash> index_;
        std::size_t indexed_ = 0;
    };

    std::string targetNamespace_;
    CTextPool namespaces_;
    CTextArena names_;
    CStableList<CViewSchema> schemas_;
    CStableList<CViewType> types_;
    CStableList<CViewElement> elements_;
    CStableList<CViewMessage> messages_;
    CStableList<CViewPortType> portTypes_;
    CStableList<CViewBinding> bindings_;
    CStableList<CViewService> services_;
    CStableList<CValueFacets> facets_;
    CLazyIndex<CViewType, Key, CPairHash> typeIndex_;
    CLazyIndex<CViewElement, Key, CPairHash> elementIndex_;
    CLazyIndex<CViewMessage, std::string_view> messageIndex_;
    CLazyIndex<CViewMessage, Key, CPairHash> qualifiedMessageIndex_;
    CViewIndexed<CViewType, const CViewElement*> firstElementByType_;
};

#endif
