#include "generator/model/ServiceViewReader.h"

#include "generator/model/DefaultActions.h"
#include "xml/PointerIndex.h"
#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SimpleType.h"
#include "wsdl/SoapExtension.h"
#include "wsdl/WsdlNamespaces.h"
#include "wsdl/WsdlParser.h"

#include <algorithm>
#include <cassert>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

using Schema::SchemaParser;
using Schema::XsdType;

class CViewReader {
public:
    // owned: the same parser when the caller gives it up, so that its
    // schemas go as soon as every declaration is read; null otherwise.
    CViewReader(const Wsdl::WsdlParser& parser, Wsdl::WsdlParser* owned) : parser_(parser), owned_(owned) {}

    // Everything but the C names, which need nothing of the parser.
    CServiceView read()
    {
        // Nothing here reads the documentation, which would stand beside
        // the schemas and the view at their largest.
        if (owned_ != nullptr)
            owned_->releaseDocumentation();
        collectSchemas();
        readSchemas();
        fillPendingTypes();
        readMessages();
        inheritBases();
        // Every type and element is made by now: their look-ups go before
        // the view grows further beside the parser's model, and nothing
        // after this may resolve a type or an element.
        forgetDeclarations();
        // The schemas' declarations are most of the parser's model: the
        // bindings and port types are read without them beside.
        if (owned_ != nullptr)
            owned_->releaseDocumentSchemas();
        readBindings();
        readPortTypes();
        readServices();
        view_.setTargetNamespace(parser_.getNamespace());
        return std::move(view_);
    }

private:
    // A view type and the schema's type it was made from.
    using Made = std::pair<CViewType*, const XsdType*>;

    // Every schema parser the document reaches: the parser's own list, then
    // the schemas they import, so that a borrowed type finds its owner.
    void collectSchemas()
    {
        for (int position = 0; position < parser_.getSchemaCount() + 2; ++position)
            addReachable(parser_.getSchemaParser(position));
    }

    void addReachable(const SchemaParser* schema)
    {
        if (schema == nullptr || !reached_.insert(schema).second)
            return;
        reachable_.push_back(schema);
        reachableByNamespace_[schema->getNamespace()].push_back(schema);
        // A namespace imported from several files has a parser for each.
        for (const SchemaParser::ImportedSchema& imported : schema->getImports()) {
            addReachable(imported.sParser);
            for (const SchemaParser* parser : schema->getImportParsers(imported.ns))
                addReachable(parser);
        }
    }

    // The schema whose table defines the type: its slot at the type's own id
    // holds the object. Schemas of the type's namespace are asked first,
    // found by namespace: a service may spread its types over thousands.
    const SchemaParser* ownerOf(const XsdType& type) const
    {
        const auto isOwner = [&type](const SchemaParser* schema) { return schema->getType(type.getTypeId()) == &type; };
        const auto ofNamespace = reachableByNamespace_.find(type.getNamespace());
        if (ofNamespace != reachableByNamespace_.end()) {
            const auto owner = std::find_if(ofNamespace->second.begin(), ofNamespace->second.end(), isOwner);
            if (owner != ofNamespace->second.end())
                return *owner;
        }
        const auto owner = std::find_if(reachable_.begin(), reachable_.end(), isOwner);
        return owner != reachable_.end() ? *owner : nullptr;
    }

    // An element declared without a type is of xsd:anyType.
    CTypeRef declaredType(const SchemaParser* schema, const Schema::Element& element)
    {
        if (element.getType() == Schema::XSD_INVALID)
            return CTypeRef{Schema::XSD_ANYTYPE, nullptr};
        CTypeRef ref = resolve(schema, element.getType());
        ref.xsdName = ref.builtin != 0 ? element.getBuiltinName() : nullptr;
        return ref;
    }

    CTypeRef resolve(const SchemaParser* schema, int typeId)
    {
        // Past it a type would be made twice, and never filled.
        assert(!declarationsForgotten_);
        CTypeRef ref;
        if (findBuiltinType(typeId) != nullptr) {
            ref.builtin = typeId;
        } else if (schema != nullptr && typeId >= Schema::FIRST_USER_TYPE) {
            if (const XsdType* type = schema->getType(typeId))
                ref.user = viewOf(*type);
        }
        return ref;
    }

    // The view's entry for a type object, made on first sight and filled later.
    CViewType* viewOf(const XsdType& type)
    {
        if (CViewType* found = typeViews_.find(&type))
            return found;
        CViewType& added = view_.addType(type.getNamespace(), type.getName());
        added.simple = type.isSimple();
        added.contentKind = type.getContentType();
        added.anonymous = type.isAnonymous();
        typeViews_.insert(&type, &added);
        // madeOf and inheritBases find a type's entry at its index.
        assert(added.index == pending_.size());
        pending_.emplace_back(&added, &type);
        return &added;
    }

    void readSchemas()
    {
        for (int k = 0; k < parser_.getSchemaCount(); ++k) {
            const SchemaParser* schema = parser_.getSchemaParser(k + 2);
            CViewSchema& entry = view_.addSchema(schema->getNamespace());
            for (int i = 0; i < schema->getNumTypes(); ++i)
                entry.types.push_back(resolve(schema, Schema::FIRST_USER_TYPE + i).user);
        }
        // Elements after every schema's slots, so that types come in slot order.
        for (int k = 0; k < parser_.getSchemaCount(); ++k) {
            const SchemaParser* schema = parser_.getSchemaParser(k + 2);
            for (const Schema::Element& element : schema->getElements()) {
                if (element.getType() == Schema::XSD_SCHEMA)
                    continue;
                CViewElement& added =
                    view_.addElement(schema->getNamespace(), element.getName(), declaredType(schema, element), k);
                elementViews_.insert(&element, &added);
            }
        }
    }

    void fillPendingTypes()
    {
        // Filling a type can reach types not seen yet; they join the queue.
        for (; filled_ < pending_.size(); ++filled_)
            fill(*pending_[filled_].first, *pending_[filled_].second);
    }

    // A complex type with simple content names the simple type it extends
    // as its content's: its values' facets and enumerations are that type's.
    static int baseOf(const XsdType& type)
    {
        const int base = type.getBaseTypeId();
        if (type.isSimple() || (base != Schema::XSD_ANYTYPE && base != Schema::XSD_INVALID))
            return base;
        const auto& complex = static_cast<const Schema::ComplexType&>(type);
        const int content = complex.getSimpleContentType();
        return type.getContentType() == XsdType::Simple && content >= Schema::FIRST_USER_TYPE ? content : base;
    }

    void fill(CViewType& view, const XsdType& type)
    {
        const SchemaParser* owner = ownerOf(type);
        view.base = resolve(owner, baseOf(type));
        view.soapArray = view.base.user != nullptr && view.base.user->ns == Wsdl::SoapEncodingUri &&
            view.base.user->name == "Array";
        if (owner != nullptr)
            view.valueType = owner->getBasicContentType(type.getTypeId());
        if (type.isSimple()) {
            const auto& simple = static_cast<const Schema::SimpleType&>(type);
            if (view.base.builtin != 0)
                view.base.xsdName = simple.getBuiltinBaseName();
            if (!simple.isList() && !simple.isUnion()) // a list's lengths count its items
                keepFacets(simple, view);
            if (simple.hasFacet(Schema::SimpleType::LENGTH))
                view.maxLength = simple.getFacetValue(Schema::SimpleType::LENGTH);
            else if (simple.hasFacet(Schema::SimpleType::MAXLEN))
                view.maxLength = simple.getFacetValue(Schema::SimpleType::MAXLEN);
            // A list or a union value is text whatever its members are.
            if (simple.isList() || simple.isUnion())
                view.valueType = Schema::XSD_STRING;
            else
                view.enumerations = simple.getEnumerations();
            return;
        }
        const auto& complex = static_cast<const Schema::ComplexType&>(type);
        view.attributes.reserve(complex.getAttributes().size());
        for (const Schema::Attribute& attribute : complex.getAttributes()) {
            CViewAttribute entry;
            entry.name = view_.nameText(attribute.getName());
            entry.type = resolve(owner, attribute.getType());
            if (entry.type.builtin != 0)
                entry.type.xsdName = attribute.getBuiltinName();
            entry.qualified = attribute.isQualified() && !attribute.getNamespace().empty();
            entry.required = attribute.isRequired();
            const std::string& given = attribute.getFixedValue().empty() ? attribute.getDefaultValue()
                                                                          : attribute.getFixedValue();
            entry.givenValue = view_.nameText(given);
            entry.ns = entry.qualified ? view_.namespaceText(attribute.getNamespace()) : std::string_view();
            view.attributes.push_back(std::move(entry));
        }
        const Schema::ContentModel* model = complex.getContentModel();
        view.hasContentModel = model != nullptr;
        if (model == nullptr)
            return;
        // A choice of elements: one member per branch, one of them chosen.
        // A choice holding sequences or groups gives members that may each
        // stand out instead.
        bool flat = true;
        for (const Schema::ContentModel::Entry& entry : model->getContents())
            flat = flat && entry.getKind() == Schema::ContentModel::Particle;
        view.choice = model->getCompositor() == Schema::ContentModel::Choice && flat;
        addParticles(view, *model, owner, !view.choice && model->getCompositor() == Schema::ContentModel::Choice,
                     false, false, 0);
        // The list grew by doubling; the view keeps it to the end of the run.
        view.particles.shrink_to_fit();
    }

    // A restriction's facets, kept only when it has one: a type without
    // adds nothing to what it restricts.
    void keepFacets(const Schema::SimpleType& simple, CViewType& view)
    {
        CValueFacets facets;
        readFacets(simple, facets);
        if (facets.hasRange() || facets.hasLength() || facets.hasDigits() || !facets.pattern.empty())
            view_.addFacets(view) = std::move(facets);
    }

    // A restriction's facets that bound its values, as written.
    static void readFacets(const Schema::SimpleType& simple, CValueFacets& facets)
    {
        using Facet = Schema::SimpleType;
        const auto number = [&simple](int facet) { return simple.hasFacet(facet) ? simple.getFacetValue(facet) : -1; };
        facets.minInclusive = simple.getFacetText(Facet::MININC);
        facets.maxInclusive = simple.getFacetText(Facet::MAXINC);
        facets.minExclusive = simple.getFacetText(Facet::MINEX);
        facets.maxExclusive = simple.getFacetText(Facet::MAXEX);
        facets.length = number(Facet::LENGTH);
        facets.minLength = number(Facet::MINLEN);
        facets.maxLength = number(Facet::MAXLEN);
        facets.totalDigits = number(Facet::TOTALDIGITS);
        facets.fractionDigits = number(Facet::FRACTIONDIGITS);
        if (simple.hasFacet(Facet::PATTERN))
            facets.pattern = simple.getPattern();
    }

    // The elements of a content model in document order, those of nested
    // sequences, choices and group references included. An element inside
    // something that may stand out (minOccurs 0, a branch of a choice) may
    // stand out itself; inside something repeated it is repeated.
    // laterBranch: the model stands in a branch of a choice other than its first.
    void addParticles(CViewType& view, const Schema::ContentModel& model, const SchemaParser* owner, bool optional,
                      bool repeated, bool laterBranch, int depth)
    {
        static constexpr int MaxDepth = 32; // groups that name themselves end here
        optional = optional || model.getMin() == 0;
        repeated = repeated || model.getMax() > 1;
        const bool choice = model.getCompositor() == Schema::ContentModel::Choice;
        const bool branches = depth > 0 && choice;
        bool firstBranch = true;
        for (const Schema::ContentModel::Entry& entry : model.getContents()) {
            const bool later = laterBranch || (choice && !firstBranch);
            firstBranch = false;
            if (entry.getKind() == Schema::ContentModel::ParticleGroup) {
                const Schema::Group* group = entry.getGroup();
                const Schema::ContentModel* content = group != nullptr ? groupContent(*group, owner) : nullptr;
                if (content != nullptr && depth < MaxDepth)
                    addParticles(view, *content, owner, optional || branches || group->getMin() == 0,
                                 repeated || group->getMax() > 1, later, depth + 1);
                continue;
            }
            if (entry.getKind() == Schema::ContentModel::ParticleContent) {
                if (entry.getContentModel() != nullptr && depth < MaxDepth)
                    addParticles(view, *entry.getContentModel(), owner, optional || branches, repeated, later,
                                 depth + 1);
                continue;
            }
            const Schema::Element* element = entry.getElement();
            if (element == nullptr)
                continue;
            CViewParticle particle;
            particle.name = view_.nameText(element->getName());
            particle.type = declaredType(owner, *element);
            particle.minOccurs = optional || branches ? 0 : element->getMin();
            particle.maxOccurs = repeated ? Schema::UNBOUNDED : element->getMax();
            particle.nillable = element->isNillable();
            particle.laterBranch = later;
            particle.qualified = element->isQualified() && !element->getNamespace().empty() && !particle.isWildcard();
            particle.ns = particle.qualified ? view_.namespaceText(element->getNamespace()) : std::string_view();
            view.particles.push_back(std::move(particle));
        }
    }

    // A group's particles; a reference read before its group was defined
    // finds them in the schema now.
    static const Schema::ContentModel* groupContent(const Schema::Group& group, const SchemaParser* owner)
    {
        if (group.getContentModel() != nullptr || owner == nullptr)
            return group.getContentModel();
        const Schema::Group* definition = owner->getGroup(Schema::QualifiedName(group.getName()));
        return definition != nullptr ? definition->getContentModel() : nullptr;
    }

    void forgetDeclarations()
    {
        typeViews_ = {};
        elementViews_ = {};
        reached_ = {};
        reachable_ = {};
        reachableByNamespace_ = {};
        pending_ = {};
        declarationsForgotten_ = true;
    }

    // A complex type derived by extension holds its base's attributes and
    // elements before its own (bases first, each type once).
    void inheritBases()
    {
        std::vector<bool> done(pending_.size(), false);
        for (const Made& entry : pending_)
            inherit(entry, done);
        // The lists grew by doubling as groups and bases were entered; from
        // here on they only hold what they have, for the rest of the run.
        for (const Made& entry : pending_) {
            entry.first->particles.shrink_to_fit();
            entry.first->attributes.shrink_to_fit();
        }
    }

    // The entry a type was made from: every type is made once, in the
    // order of its position in the view.
    const Made* madeOf(const CViewType* type) const
    {
        return type != nullptr && type->index < pending_.size() && pending_[type->index].first == type
            ? &pending_[type->index]
            : nullptr;
    }

    void inherit(const Made& entry, std::vector<bool>& done)
    {
        CViewType& view = *entry.first;
        if (done[view.index])
            return; // done, or a base of its own base
        done[view.index] = true;
        const Made* base = madeOf(view.base.user);
        if (view.simple || view.soapArray || base == nullptr || entry.second->getBaseDerivation() != XsdType::Extension)
            return;
        inherit(*base, done);
        const CViewType& from = *base->first;
        if (from.simple || from.hasSimpleContent() || from.soapArray)
            return;
        std::vector<CViewParticle> inherited = from.particles;
        // Elements of a choice do not all stand: those of a choice beside
        // other elements may each stand out.
        if (from.choice && !view.particles.empty())
            for (CViewParticle& particle : inherited)
                particle.minOccurs = 0;
        if (view.choice && !inherited.empty())
            for (CViewParticle& particle : view.particles)
                particle.minOccurs = 0;
        view.choice = inherited.empty() ? view.choice : view.particles.empty() && from.choice;
        view.particles.insert(view.particles.begin(), inherited.begin(), inherited.end());
        view.attributes.insert(view.attributes.begin(), from.attributes.begin(), from.attributes.end());
        view.hasContentModel = view.hasContentModel || from.hasContentModel;
    }

    // An element part whose declaration no schema of the document lists
    // (an imported schema's, say) still needs its struct.
    const CViewElement* elementOf(const Schema::Element* declaration, const SchemaParser* schema)
    {
        if (declaration == nullptr)
            return nullptr;
        assert(!declarationsForgotten_);
        if (const CViewElement* found = elementViews_.find(declaration))
            return found;
        const std::string ns = schema != nullptr ? schema->getNamespace() : std::string();
        CViewElement& added = view_.addElement(ns, declaration->getName(), declaredType(schema, *declaration), -1);
        elementViews_.insert(declaration, &added);
        fillPendingTypes();
        return &added;
    }

    // The schema whose table a part's id belongs to. The reader records it
    // for element parts only; for a type part the schema is found again:
    // the one schema of the document that has a type of that id, else the
    // one of the target namespace, else the first.
    const SchemaParser* schemaOfPart(const Wsdl::Part& part) const
    {
        if (part.getSchemaPosition() >= 0)
            return parser_.getSchemaParser(part.getSchemaPosition());
        if (part.getType() < Schema::FIRST_USER_TYPE)
            return nullptr;
        std::vector<const SchemaParser*> candidates;
        for (int k = 0; k < parser_.getSchemaCount(); ++k) {
            const SchemaParser* schema = parser_.getSchemaParser(k + 2);
            if (schema->getType(part.getType()) != nullptr)
                candidates.push_back(schema);
        }
        for (const SchemaParser* schema : candidates) {
            if (candidates.size() == 1 || schema->getNamespace() == parser_.getNamespace())
                return schema;
        }
        return candidates.empty() ? nullptr : candidates.front();
    }

    void readMessages()
    {
        for (const auto& message : parser_.getMessages()) {
            CViewMessage& view = view_.addMessage(message->getName(), message->getNamespace());
            messageViews_.emplace_back(message.get(), &view);
            view.parts.reserve(message->getParts().size());
            for (const Wsdl::Part& part : message->getParts()) {
                const SchemaParser* schema = schemaOfPart(part);
                CViewPart entry;
                entry.name = view_.nameText(part.getName());
                entry.refKind = part.getRefKind() == Wsdl::Part::ElementRef ? CViewPart::ElementRef : CViewPart::TypeRef;
                entry.element = elementOf(part.getElement(), schema);
                entry.type = entry.element != nullptr ? entry.element->type : resolve(schema, part.getType());
                if (entry.element == nullptr && entry.type.builtin != 0)
                    entry.type.xsdName = part.getBuiltinName();
                view.parts.push_back(std::move(entry));
            }
        }
        std::sort(messageViews_.begin(), messageViews_.end(), byMessage);
        fillPendingTypes();
    }

    void readBindings()
    {
        for (const auto& binding : parser_.getBindings()) {
            CViewBinding& view = view_.addBinding(binding->getName());
            view.ns = view_.namespaceText(binding->getNamespace());
            view.protocolNamespace = binding->getProtocolNamespace();
            if (view.protocolNamespace == Wsdl::SoapBindingUri)
                view.soapVersion = Wsdl::SoapExtension::Soap11;
            else if (view.protocolNamespace == Wsdl::Soap12BindingUri)
                view.soapVersion = Wsdl::SoapExtension::Soap12;
            if (binding->getPortType() != nullptr)
                view.portTypeName = binding->getPortType()->getName();
            view.securityPolicy = parser_.getSecurityPolicy(*binding);
            bindingViews_.emplace(binding.get(), &view);
        }
    }

    // The binding's record for the operation: the one that refers to it,
    // else the first whose operation has its name.
    // A binding's records by the operation they bind, else by its name;
    // the first record wins. Built once per port type, so that matching
    // every operation costs no scan of every record.
    class CBindingRecords {
    public:
        explicit CBindingRecords(const Wsdl::Binding* binding)
        {
            for (int r = 0; binding != nullptr && r < binding->getNumOps(); ++r) {
                if (const Wsdl::Operation* operation = binding->getOperation(r)) {
                    byOperation_.emplace(operation, r);
                    byName_.emplace(operation->getName(), r);
                }
            }
        }

        int recordOf(const Wsdl::Operation& operation) const
        {
            const auto same = byOperation_.find(&operation);
            if (same != byOperation_.end())
                return same->second;
            const auto named = byName_.find(operation.getName());
            return named == byName_.end() ? -1 : named->second;
        }

    private:
        std::unordered_map<const Wsdl::Operation*, int> byOperation_;
        std::unordered_map<std::string_view, int> byName_; // views of the model's names
    };

    // The SOAP binding's extension ids of one part of a record, in document order.
    struct CIds {
        const int* begin = nullptr;
        const int* end = nullptr;
    };

    static CIds idsOf(int count, const int* ids)
    {
        return ids == nullptr || count <= 0 ? CIds() : CIds{ids, ids + count};
    }

    const CViewMessage* messageView(const Wsdl::Message* message) const
    {
        const MessageView key(message, nullptr);
        const auto found = std::lower_bound(messageViews_.begin(), messageViews_.end(), key, byMessage);
        return found == messageViews_.end() || found->first != message ? nullptr : found->second;
    }

    void readDirection(CViewDirection& direction, CIds ids, const Wsdl::SoapExtension& soap)
    {
        for (const int* at = ids.begin; at != ids.end; ++at) {
            const int id = *at;
            int partIndex = -1;
            Wsdl::Message* message = nullptr;
            int use = 0;
            std::string encodingStyle;
            std::string ns;
            if (soap.isSoapHeader(id) && soap.getHeaderInfo(id, partIndex, message) && message != nullptr) {
                CHeaderPart header;
                header.message = messageView(message);
                header.partIndex = partIndex;
                if (direction.headers.empty())
                    direction.header = header;
                direction.headers.push_back(header);
            } else if (soap.getBodyInfo(id, use, encodingStyle, ns)) {
                direction.encoded = use == 1;
                direction.bodyNamespace = view_.namespaceText(ns);
            }
        }
    }

    void readSoapRecord(CViewOperation& view, const Wsdl::Binding& binding, int record,
                        const Wsdl::SoapExtension& soap, const CViewOperation* twin)
    {
        const int* ids = nullptr;
        int count = binding.getOpBinding(record, ids);
        const CIds operationIds = idsOf(count, ids);
        count = binding.getInputBinding(record, ids);
        const CIds inIds = idsOf(count, ids);
        count = binding.getOutputBinding(record, ids);
        const CIds outIds = idsOf(count, ids);
        view.style = soap.getDefaultStyle();
        for (const int* at = operationIds.begin; at != operationIds.end; ++at) {
            if (soap.getOperationInfo(*at, soapAction_, view.style)) {
                view.soapAction = keepName(soapAction_, twin != nullptr ? twin->soapAction : std::string_view());
                view.hasSoapOperation = true;
                break;
            }
        }
        readDirection(view.in, inIds, soap);
        readDirection(view.out, outIds, soap);
        view.soapVersion = soap.getVersion();
        view.soapBound = true;
    }

    // A port type with a SOAP binding of each version is read twice, the
    // second time for its SOAP 1.2 binding.
    void readPortTypes()
    {
        Wsdl::WsdlParser::PortTypeList::const_iterator begin, end;
        if (!parser_.getPortTypes(begin, end))
            return;
        const Wsdl::SoapExtension* soap11 = parser_.getSoapExtension();
        const Wsdl::SoapExtension* soap12 = parser_.getSoap12Extension();
        for (auto it = begin; it != end; ++it) {
            const Wsdl::PortType& portType = **it;
            const Wsdl::Binding* first = portType.getBinding(Wsdl::SoapBindingUri);
            const Wsdl::Binding* second = portType.getBinding(Wsdl::Soap12BindingUri);
            if (first != nullptr) {
                const CViewPortType& read = readPortType(portType, first, soap11, nullptr);
                if (second != nullptr)
                    readPortType(portType, second, soap12, &read);
            } else {
                readPortType(portType, second, soap12, nullptr);
            }
        }
    }

    // first: the port type read already for its first SOAP binding, when
    // this is its second; the operations stand in the same order in both.
    const CViewPortType& readPortType(const Wsdl::PortType& portType, const Wsdl::Binding* binding,
                                      const Wsdl::SoapExtension* soap, const CViewPortType* first)
    {
        CViewPortType& view = view_.addPortType(portType.getName());
        view.ns = view_.namespaceText(portType.getNamespace());
        view.secondVersion = first != nullptr;
        if (binding != nullptr)
            view.soapBinding = bindingViews_.at(binding);
        const CBindingRecords records(binding);
        view.operations.reserve(portType.getOperations().size());
        for (const auto& operation : portType.getOperations()) {
            const CViewOperation* twin = first != nullptr ? &first->operations[view.operations.size()] : nullptr;
            view.operations.emplace_back();
            CViewOperation& entry = view.operations.back();
            entry.name = keepName(operation->getName(), twin != nullptr ? twin->name : std::string_view());
            entry.input = messageView(operation->getInput());
            entry.output = messageView(operation->getOutput());
            entry.in.message = entry.input;
            entry.out.message = entry.output;
            if (const auto* faults = operation->getFaults()) {
                for (const Wsdl::Message* fault : *faults) {
                    if (const CViewMessage* message = messageView(fault))
                        entry.faults.push_back(message);
                }
            }
            const int record = records.recordOf(*operation);
            if (record >= 0 && soap != nullptr)
                readSoapRecord(entry, *binding, record, *soap, twin);
            readActions(entry, portType, *operation, binding, twin);
        }
        return view;
    }

    // The view's copy of a name, or the one given where it is the same text:
    // a port type read again for its second SOAP binding names its
    // operations and their actions as the first did, and an operation's
    // input Action is most often its soapAction.
    std::string_view keepName(std::string_view name, std::string_view same)
    {
        return name == same ? same : view_.nameText(name);
    }

    void readActions(CViewOperation& view, const Wsdl::PortType& portType, const Wsdl::Operation& operation,
                     const Wsdl::Binding* binding, const CViewOperation* twin)
    {
        view.addressing = binding != nullptr && parser_.usesAddressing(binding);
        const CDefaultActions defaults(portType.getNamespace(), portType.getName(), operation);
        const std::string_view twinInput = twin != nullptr ? twin->inputAction : std::string_view();
        const std::string& input = operation.getAddressing(Wsdl::Operation::Input).action;
        view.inputAction = !input.empty()               ? keepName(input, twinInput)
                           : !view.soapAction.empty() ? view.soapAction
                                                      : keepName(defaults.input(), twinInput);
        const std::string& output = operation.getAddressing(Wsdl::Operation::Output).action;
        view.outputAction = keepName(!output.empty() ? output : defaults.output(),
                                     twin != nullptr ? twin->outputAction : std::string_view());
    }

    void readServices()
    {
        for (const auto& service : parser_.getServices()) {
            CViewService& view = view_.addService(service->getName());
            for (const Wsdl::Service::Port& port : service->getPorts()) {
                CViewService::Port entry;
                entry.name = port.name;
                const auto binding = bindingViews_.find(port.binding);
                entry.binding = binding == bindingViews_.end() ? nullptr : binding->second;
                // The address is the element of either SOAP version.
                if (const auto* soap = dynamic_cast<const Wsdl::SoapExtension*>(
                        parser_.getExtensionHandler(port.extElementId)))
                    soap->getAddressLocation(port.extElementId, entry.address);
                view.ports.push_back(std::move(entry));
            }
        }
    }

    const Wsdl::WsdlParser& parser_;
    Wsdl::WsdlParser* owned_;
    CServiceView view_;
    std::vector<const SchemaParser*> reachable_;
    std::unordered_set<const SchemaParser*> reached_;
    // The reachable schemas of each namespace, in the order of reachable_;
    // keys view the schemas' own namespaces.
    std::unordered_map<std::string_view, std::vector<const SchemaParser*>> reachableByNamespace_;
    CPointerIndex<XsdType, CViewType*> typeViews_;
    // Every type seen, with the object it was made from; from filled_ on not filled yet.
    std::vector<Made> pending_;
    std::size_t filled_ = 0;
    bool declarationsForgotten_ = false;
    CPointerIndex<Schema::Element, CViewElement*> elementViews_;
    // The view of each message, sorted by the model's message: a look-up
    // halves the list rather than hashing, and no node is kept per message.
    using MessageView = std::pair<const Wsdl::Message*, const CViewMessage*>;
    static bool byMessage(const MessageView& a, const MessageView& b)
    {
        return std::less<const Wsdl::Message*>()(a.first, b.first);
    }
    std::vector<MessageView> messageViews_;
    std::unordered_map<const Wsdl::Binding*, const CViewBinding*> bindingViews_;
    std::string soapAction_; // where an operation's soapAction is read before the view keeps it
};

} // namespace

CServiceView readServiceView(const Wsdl::WsdlParser& parser)
{
    CServiceView view = CViewReader(parser, nullptr).read();
    view.assignNames();
    return view;
}

CServiceView readServiceView(std::unique_ptr<Wsdl::WsdlParser> parser)
{
    CServiceView view = CViewReader(*parser, parser.get()).read();
    parser.reset();
    view.assignNames();
    return view;
}
