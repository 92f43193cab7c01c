#include "generator/model/StructLayout.h"

#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/model/TypeOrder.h"

#include <algorithm>
#include <utility>

namespace {

const char* const PacketMembers[] = {"http_headers", "http_headers_count", "boundary_part", "msg_type",
                                     "msg",          "attachment_length",  "attachment",   "decode_error", "decode_fault",
                                     "http_headers_received", "boundary_received"};

// An element or part of xsd:anyType (or of no type) holds its content as markup.
bool holdsContent(const CStructMember& member)
{
    const bool text = member.kind == CStructMember::Text || member.kind == CStructMember::TextArray;
    return text && member.origin != CStructMember::Attribute && isAnyContentTypeId(member.valueBuiltin);
}

} // namespace

const std::vector<std::pair<const char*, int>>& CStructLayout::fixedLengths()
{
    static const std::vector<std::pair<const char*, int>> fixed = {
        {"USER", 32},          {"USER_PWD", 32},          {"IP", 32},
        {"URL", 64},           {"AUTHINFO", 512},         {"MESSAGE", 120000},
        {"HTTP_PART", 1024},   {"HTTP_HEADER_NAME", 24},  {"HTTP_HEADER_VALUE", 128},
        {"BOUNDARY", 240},     {"SOAP_FAULT_FAULTCODE", 240}, {"SOAP_FAULT_FAULTSTRING", 1024},
        {"SOAP_FAULT_DETAIL", 4096}, {"HTTP_MSG_BUFFER", 1024}, {"HTTP_ERR_CODE_STRING", 32},
        {"DECODE_ERROR", 240}};
    return fixed;
}

CStructLayout::CStructLayout(const CServiceView& view, const std::string& projectName, int textLength)
    : view_(view), proj_(projectName), projUpper_(upperName(projectName)), textLength_(textLength)
{
    for (const auto& fixed : fixedLengths())
        lengthConstant(fixed.first, fixed.second);
    chooseTypes();
    createTypeAndElementDefs();
    orderTypeDefs();
    listCodecTypes();
    createMessageDefs();
    createFaultDefs();
    createHeaderMembers();
}

CShortText CStructLayout::lengthConstant(const std::string& key, int value)
{
    // Two texts of different limits must not share a macro: the later one
    // takes the first free "_2", "_3" ... form. Most texts find a macro made
    // before, so the name is put together in one buffer kept for the next.
    std::string& name = lengthName_;
    for (int n = 1;; ++n) {
        name.assign(projUpper_).append("_MAX_").append(key);
        if (n > 1)
            name.append("_").append(std::to_string(n));
        name.append("_LEN");
        const auto found = lengthsByName_.find(name);
        if (found == lengthsByName_.end()) {
            lengths_.push_back(CLengthConstant{name, value});
            lengthsByName_.emplace(lengths_.back().name, &lengths_.back());
            return lengths_.back().name.c_str();
        }
        if (found->second->value == value)
            return found->second->name.c_str();
    }
}

CShortText CStructLayout::textLengthConstant(const std::string& key, int value)
{
    return allocatesTexts() ? CShortText() : lengthConstant(key, value);
}

CShortText CStructLayout::pooled(std::string_view text)
{
    return names_.intern(text).data();
}

CShortText CStructLayout::xmlText(std::string_view name, CShortText cName)
{
    return name == cName ? cName : pooled(name);
}

// A text is allocated with its length unless fixed arrays were asked for;
// even then a binary value (an attribute's, each item of a repeated one) is
// as long as the document it carries, markup as long as the elements it
// stands for. Members get it as they are added, while they are at hand.
void CStructLayout::addMember(std::vector<CStructMember>& members, CStructMember&& member) const
{
    const bool text = member.kind == CStructMember::Text || member.kind == CStructMember::TextArray;
    if (holdsContent(member))
        member.anyContent = true;
    const bool markup = (member.wildcard || member.anyContent) && member.origin != CStructMember::Attribute;
    if (text && (allocatesTexts() || isBinaryTypeId(member.valueBuiltin) || markup))
        member.pointer = true;
    members.push_back(std::move(member));
}

void CStructLayout::nameOwnType(CStructMember& member, CNameScope* scope)
{
    const std::string type = std::string(member.cName) + "_type";
    const std::string ns = std::string(member.cName) + "_type_ns";
    member.typeName = pooled(scope != nullptr ? scope->claim(type) : type);
    member.typeNsName = pooled(scope != nullptr ? scope->claim(ns) : ns);
}

CStructDef& CStructLayout::newDef(CStructDef::Kind kind, std::string_view name)
{
    defs_.emplace_back();
    defs_.back().index = defs_.size() - 1;
    defs_.back().kind = kind;
    defs_.back().name = name;
    return defs_.back();
}

void CStructLayout::choose(const CViewType* type, std::vector<const CViewType*>& work)
{
    if (type == nullptr || chosen_.find(type))
        return;
    chosen_.set(type, true);
    work.push_back(type);
}

// The types that get a struct: simple and structured types of the
// document's schemas, and whatever a member, element or part holds.
void CStructLayout::chooseTypes()
{
    std::vector<const CViewType*> work;
    for (const CViewSchema& schema : view_.schemas()) {
        for (const CViewType* type : schema.types) {
            // Every named type, also one of simple content or of attributes only.
            if (type != nullptr && !type->isNamedArray() && (type->simple || type->isStructured() || !type->anonymous))
                choose(type, work);
        }
    }
    for (const CViewElement& element : view_.elements())
        choose(element.type.user, work);
    for (const CViewMessage& message : view_.messages()) {
        for (const CViewPart& part : message.parts) {
            if (part.refKind == CViewPart::TypeRef && !(part.type.user && part.type.user->isNamedArray()))
                choose(part.type.user, work);
        }
    }
    // Close over the members of structured types.
    while (!work.empty()) {
        const CViewType* type = work.back();
        work.pop_back();
        if (!type->isStructured())
            continue;
        for (const CViewParticle& particle : type->particles)
            choose(particle.type.user, work);
    }
}

void CStructLayout::createTypeAndElementDefs()
{
    for (const CViewType& type : view_.types()) {
        if (!chosen_.find(&type))
            continue;
        if (type.isStructured() && view_.firstElementOfType(&type) != nullptr)
            continue; // its first element writes it
        CStructDef& def = newDef(CStructDef::TypeStruct, type.cName);
        def.type = &type;
        typeDefs_.set(&type, &def);
    }
    for (const CViewElement& element : view_.elements()) {
        const CViewType* type = element.type.user;
        const bool writesType = type != nullptr && type->isStructured() && view_.firstElementOfType(type) == &element;
        CStructDef& def =
            newDef(type != nullptr && !writesType ? CStructDef::ElementAlias : CStructDef::ElementStruct, element.cName);
        def.element = &element;
        def.type = type;
        if (writesType) {
            if (type->cName != element.cName)
                def.secondName = type->cName;
            typeDefs_.set(type, &def);
        }
        elementDefs_.set(&element, &def);
    }
    // Members point at other structs: fill them once every struct exists.
    CNameScope scope; // each struct's own, cleared for the next
    for (CStructDef& def : defs_) {
        if (def.kind == CStructDef::ElementAlias)
            def.aliasOf = structOf(def.type);
        else if (def.type != nullptr)
            fillTypeMembers(def, *def.type, scope);
        else
            fillElementDef(def, *def.element);
    }
}

CStructMember CStructLayout::structMember(const CViewType* type, const std::string& cName)
{
    CStructMember member;
    member.kind = CStructMember::Struct;
    member.cName = cNames_.keepTerminated(cName);
    member.userType = type;
    member.target = structOf(type);
    return member;
}

void CStructLayout::fillValueMember(CStructDef& def, const CViewType& type, CNameScope& scope)
{
    CStructMember member;
    member.origin = CStructMember::Value;
    member.cName = cNames_.keepTerminated(scope.claim(type.cName));
    member.xmlName = xmlText(type.name, member.cName);
    if (isNumericTypeId(type.valueType)) {
        member.kind = CStructMember::Number;
        member.builtin = type.valueType;
    } else {
        member.kind = CStructMember::Text;
        member.lengthConstant =
            textLengthConstant(upperName(type.cName), type.maxLength >= 0 ? type.maxLength : textLength_);
    }
    addMember(def.members, std::move(member));
    // Known once the text is held in its fixed array (a simple type's binary stays one): the
    // decoder checks the text's lexical form by it.
    def.members.back().valueBuiltin = type.valueType;
}

namespace {

// Each attribute and particle gives a member at most, a value type its one
// value, an empty type the dummy: the vector is allocated once and no larger.
std::size_t memberCountBound(const CViewType& type)
{
    std::size_t count = type.soapArray ? 0 : type.attributes.size();
    if (type.simple || type.hasSimpleContent())
        ++count;
    else if (type.isStructured())
        count += type.particles.size();
    return std::max<std::size_t>(count, 1);
}

} // namespace

void CStructLayout::fillTypeMembers(CStructDef& def, const CViewType& type, CNameScope& scope)
{
    scope.clear();
    // A member takes a name, often one for its count or flag beside it.
    scope.makeRoom(2 * memberCountBound(type));
    def.members.reserve(memberCountBound(type));
    if (!type.soapArray) {
        for (const CViewAttribute& attribute : type.attributes) {
            CStructMember member;
            member.kind = CStructMember::Text;
            member.origin = CStructMember::Attribute;
            member.ns = pooled(attribute.ns);
            member.valueBuiltin = attribute.type.builtin;
            member.wildcard = attribute.isWildcard();
            member.cName = cNames_.keepTerminated(scope.claim(attribute.name));
            member.xmlName = xmlText(attribute.name, member.cName);
            member.lengthConstant = textLengthConstant(upperName(sanitiseIdentifier(attribute.name)) + "_ATTRIBUTE",
                                                       textLength_);
            addMember(def.members, std::move(member));
        }
    }
    if (type.simple || type.hasSimpleContent())
        fillValueMember(def, type, scope);
    else if (type.isStructured())
        fillParticles(def, type, scope);
    if (def.members.empty())
        def.members.push_back(CStructMember());
}

void CStructLayout::fillParticles(CStructDef& def, const CViewType& type, CNameScope& scope)
{
    bool arrayDone = false;
    for (const CViewParticle& particle : type.particles) {
        CStructMember member;
        const bool items = particle.isWildcard() || (type.soapArray && particle.type.isUser());
        // An xsd:any holds the markup of all its elements in one text.
        const bool many = items || (particle.maxOccurs > 1 && !particle.isAnyElement());
        if (particle.type.isUser()) {
            if (type.soapArray && arrayDone)
                continue;
            member = structMember(particle.type.user, std::string());
            if (many)
                member.kind = CStructMember::StructArray;
            arrayDone = arrayDone || type.soapArray;
        } else if (particle.type.isNumeric()) {
            member.kind = many ? CStructMember::NumberArray : CStructMember::Number;
            member.builtin = particle.type.builtin;
        } else if (particle.type.isText()) {
            member.kind = many ? CStructMember::TextArray : CStructMember::Text;
            member.lengthConstant = textLengthConstant(
                upperName(particle.isWildcard() ? type.cName : sanitiseIdentifier(particle.name)), textLength_);
            member.anyContent = isAnyContentTypeId(particle.type.builtin);
        } else {
            continue; // a type the model does not know
        }
        member.origin = items ? CStructMember::Items : CStructMember::Element;
        member.valueBuiltin = particle.type.builtin;
        member.ns = pooled(particle.ns);
        member.wildcard = particle.isAnyElement();
        member.optional = particle.minOccurs == 0 || type.choice;
        // A SOAP array's items may each be nil, as a nillable element may;
        // an xsd:any's markup holds its own.
        member.nillable = particle.nillable || (items && type.soapArray);
        // The items of a SOAP array or a wildcard are named after the array
        // type, as their users expect; a repeated element after itself.
        member.cName = cNames_.keepTerminated(scope.claim(items ? type.cName : particle.name));
        member.xmlName = xmlText(particle.name, member.cName);
        if (member.isArray())
            member.countName = pooled(scope.claim(std::string(member.cName) + "_count"));
        if (member.optional && !member.isArray() && !member.wildcard)
            member.presentName = pooled(scope.claim(std::string(member.cName) + "_present"));
        if (member.nillable) // of an array: a flag per item
            member.nilName = pooled(scope.claim(std::string(member.cName) + "_nil"));
        // A repeated element or a SOAP array keeps a type per item.
        if (member.anyContent && !member.wildcard)
            nameOwnType(member, &scope);
        addMember(def.members, std::move(member));
    }
}

void CStructLayout::fillElementDef(CStructDef& def, const CViewElement& element)
{
    CStructMember member;
    member.origin = CStructMember::Value;
    member.cName = cNames_.keepTerminated(sanitiseIdentifier(element.name));
    member.xmlName = xmlText(element.name, member.cName);
    member.valueBuiltin = element.type.builtin;
    if (element.type.isNumeric()) {
        member.kind = CStructMember::Number;
        member.builtin = element.type.builtin;
    } else if (element.type.isText()) {
        member.kind = CStructMember::Text;
        member.lengthConstant = textLengthConstant(upperName(member.cName), textLength_);
    } else {
        member = CStructMember(); // an element whose type is unknown still gets a struct
    }
    if (holdsContent(member))
        nameOwnType(member, nullptr); // the struct's one member
    addMember(def.members, std::move(member));
}

const std::vector<CStructMember>& CStructDef::heldMembers() const
{
    static const std::vector<CStructMember> none;
    if (kind == ElementAlias)
        return aliasOf != nullptr ? aliasOf->members : none;
    return members;
}

const CStructMember* carriedValue(const CStructMember& member)
{
    if (member.kind == CStructMember::Number || member.kind == CStructMember::Text)
        return &member;
    if (member.kind != CStructMember::Struct || member.pointer || member.userType != nullptr ||
        member.target == nullptr || member.target->members.empty())
        return nullptr;
    const CStructMember& inner = member.target->members.front();
    return inner.kind == CStructMember::Number || inner.kind == CStructMember::Text ? &inner : nullptr;
}

const CStructDef* CStructLayout::structOf(const CViewType* type) const
{
    return typeDefs_.find(type);
}

const CStructDef* CStructLayout::structOf(const CViewElement* element) const
{
    return elementDefs_.find(element);
}

const CStructDef* CStructLayout::structOf(const CViewMessage* message) const
{
    return messageDefs_.find(message);
}

const CStructMember* CStructLayout::headerMember(const CViewMessage* message, int partIndex) const
{
    const auto found = headerIndex_.find(std::make_pair(message, partIndex));
    return found == headerIndex_.end() ? nullptr : &headerMembers_[found->second];
}

// The order generated headers have always had: per schema its types in
// slot order after the exchange walk, then its elements likewise; the
// dependency order then only moves what that order leaves too late.
std::vector<int> CStructLayout::baseOrder() const
{
    std::vector<int> base;
    base.reserve(defs_.size());
    // By the position of each of the view's types: allocated once for all
    // schemas, and each schema sets back to -1 the entries it used.
    std::vector<int> byType(view_.types().size(), -1);
    for (const CViewSchema& schema : view_.schemas()) {
        appendSchemaTypes(schema, byType, base);
        appendSchemaElements(schema, byType, base);
    }
    return base;
}

std::size_t CStructLayout::positionOf(const CViewType* type) const
{
    const CStableList<CViewType>& types = view_.types();
    if (type == nullptr || type->index >= types.size() || &types[type->index] != type)
        return CViewType::NoIndex;
    return type->index;
}

void CStructLayout::appendSchemaTypes(const CViewSchema& schema, std::vector<int>& firstSlot,
                                      std::vector<int>& base) const
{
    const int slots = static_cast<int>(schema.types.size());
    CDependencyGraph slotGraph(slots);
    std::vector<bool> examined(static_cast<std::size_t>(slots), false);
    // The first slot of each of the view's types this schema lists; -1 for the others.
    for (int i = slots - 1; i >= 0; --i) {
        const std::size_t position = positionOf(schema.types[static_cast<std::size_t>(i)]);
        if (position != CViewType::NoIndex)
            firstSlot[position] = i;
    }
    std::vector<int> list;
    list.reserve(static_cast<std::size_t>(slots));
    for (int i = 0; i < slots; ++i) {
        list.push_back(i);
        const CViewType* type = schema.types[static_cast<std::size_t>(i)];
        if (type == nullptr || !type->isStructured() || view_.firstElementOfType(type) != nullptr)
            continue;
        examined[static_cast<std::size_t>(i)] = true;
        for (const CViewParticle& particle : type->particles) {
            const std::size_t position = positionOf(particle.type.user);
            if (position != CViewType::NoIndex && firstSlot[position] >= 0)
                slotGraph.addEdge(i, firstSlot[position], 0);
        }
    }
    for (int slot : slotGraph.exchangeOrder(list, examined)) {
        const CStructDef* def = structOf(schema.types[static_cast<std::size_t>(slot)]);
        if (def != nullptr && def->kind == CStructDef::TypeStruct)
            base.push_back(static_cast<int>(def->index));
    }
    for (const CViewType* type : schema.types) {
        const std::size_t position = positionOf(type);
        if (position != CViewType::NoIndex)
            firstSlot[position] = -1;
    }
}

void CStructLayout::appendSchemaElements(const CViewSchema& schema, std::vector<int>& firstOfType,
                                         std::vector<int>& base) const
{
    const int count = static_cast<int>(schema.elements.size());
    CDependencyGraph elementGraph(count);
    std::vector<bool> all(static_cast<std::size_t>(count), true);
    // The elements of each type in schema order, as a chain through the
    // positions: firstOfType by the type's position in the view, then nextOfType.
    std::vector<int> nextOfType(static_cast<std::size_t>(count), -1);
    for (int j = count - 1; j >= 0; --j) {
        const std::size_t position = positionOf(schema.elements[static_cast<std::size_t>(j)]->type.user);
        if (position != CViewType::NoIndex) {
            nextOfType[static_cast<std::size_t>(j)] = firstOfType[position];
            firstOfType[position] = j;
        }
    }
    std::vector<int> list;
    list.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        list.push_back(i);
        const CViewType* type = schema.elements[static_cast<std::size_t>(i)]->type.user;
        if (type == nullptr || !type->isStructured())
            continue;
        for (const CViewParticle& particle : type->particles) {
            const std::size_t position = positionOf(particle.type.user);
            if (position == CViewType::NoIndex)
                continue;
            for (int j = firstOfType[position]; j >= 0; j = nextOfType[static_cast<std::size_t>(j)])
                elementGraph.addEdge(i, j, 0);
        }
    }
    for (int i : elementGraph.exchangeOrder(list, all))
        base.push_back(static_cast<int>(structOf(schema.elements[static_cast<std::size_t>(i)])->index));
    for (const CViewElement* element : schema.elements) {
        const std::size_t position = positionOf(element->type.user);
        if (position != CViewType::NoIndex)
            firstOfType[position] = -1;
    }
}

void CStructLayout::orderTypeDefs()
{
    CDependencyGraph graph(static_cast<int>(defs_.size()));
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        const CStructDef& def = defs_[i];
        if (def.aliasOf != nullptr)
            graph.addEdge(static_cast<int>(i), static_cast<int>(def.aliasOf->index), -1);
        for (std::size_t m = 0; m < def.members.size(); ++m) {
            const CStructMember& member = def.members[m];
            // An array points at its items: they need no definition before it.
            if (member.target != nullptr && !member.isArray())
                graph.addEdge(static_cast<int>(i), static_cast<int>(member.target->index), static_cast<int>(m));
        }
    }
    std::vector<CDependencyGraph::Edge> cycles;
    for (int index : graph.dependencyOrder(baseOrder(), &cycles))
        typeOrder_.push_back(&defs_[static_cast<std::size_t>(index)]);
    // Structs that hold each other by value cannot be defined at all: the
    // member that closes the cycle holds a pointer.
    for (const CDependencyGraph::Edge& edge : cycles) {
        if (edge.tag >= 0)
            defs_[static_cast<std::size_t>(edge.target)].members[static_cast<std::size_t>(edge.tag)].pointer = true;
    }
}

bool CStructLayout::partMember(const CViewPart& part, const CViewMessage& message, const std::string& memberName,
                               CStructMember& member)
{
    member = CStructMember();
    if (part.refKind == CViewPart::ElementRef) {
        if (part.element == nullptr)
            return false;
        member.kind = CStructMember::Struct;
        member.target = structOf(part.element);
        member.userType = part.element->type.user;
    } else if (part.type.isUser()) {
        if (part.type.user->isNamedArray())
            return false;
        member = structMember(part.type.user, std::string());
    } else if (part.type.isNumeric()) {
        member.kind = CStructMember::Number;
        member.builtin = part.type.builtin;
    } else if (part.type.isText()) {
        member.kind = CStructMember::Text;
        member.lengthConstant =
            textLengthConstant(upperName(message.cName) + "_MSG_" + upperName(sanitiseIdentifier(part.name)), textLength_);
    } else {
        return false;
    }
    member.origin = CStructMember::Part;
    if (member.kind == CStructMember::Number || member.kind == CStructMember::Text)
        member.valueBuiltin = part.type.builtin;
    member.cName = cNames_.keepTerminated(memberName);
    member.xmlName = xmlText(part.refKind == CViewPart::ElementRef ? part.element->name : part.name, member.cName);
    member.part = &part;
    return true;
}

void CStructLayout::fillMessageMembers(CStructDef& def, const CViewMessage& message, const CHeaderPart& header)
{
    // A part gives a member at most; a message of none holds the dummy.
    def.members.reserve(std::max<std::size_t>(message.parts.size(), 1));
    // The names beside an anyType part's value may not take another part's.
    CNameScope scope;
    for (const CViewPart& part : message.parts)
        scope.reserve(part.cName);
    for (const CViewPart& part : message.parts) {
        CStructMember member;
        if (isHeaderPart(part, header) || !partMember(part, message, std::string(part.cName), member))
            continue;
        if (holdsContent(member))
            nameOwnType(member, &scope);
        addMember(def.members, std::move(member));
    }
    if (def.members.empty())
        def.members.push_back(CStructMember());
}

void CStructLayout::createMessageDefs()
{
    forEachBoundMessage(view_, [&](const CViewPortType&, const CViewOperation&, int, const CViewDirection& side) {
        if (messageDefs_.find(side.message) != nullptr)
            return;
        CStructDef& def = newDef(CStructDef::MessageStruct, names_.intern(std::string(side.message->cName) + "_msg"));
        def.message = side.message;
        fillMessageMembers(def, *side.message, side.header);
        messageDefs_.set(side.message, &def);
        messageOrder_.push_back(&def);
    });
}

void CStructLayout::createFaultDefs()
{
    forEachBoundOperation(view_, [&](const CViewPortType&, const CViewOperation& operation) {
        for (const CViewMessage* message : operation.faults) {
            const CStructDef* known = messageDefs_.find(message);
            if (known != nullptr && std::find(faultOrder_.begin(), faultOrder_.end(), known) != faultOrder_.end())
                continue;
            if (known == nullptr) {
                CStructDef& def = newDef(CStructDef::MessageStruct, names_.intern(std::string(message->cName) + "_msg"));
                def.message = message;
                fillMessageMembers(def, *message, CHeaderPart());
                messageDefs_.set(message, &def);
                known = &def;
            }
            faultOrder_.push_back(known);
        }
    });
}

bool CStructLayout::isFaultOnly(const CStructDef& def) const
{
    return std::find(messageOrder_.begin(), messageOrder_.end(), &def) == messageOrder_.end() &&
        std::find(faultOrder_.begin(), faultOrder_.end(), &def) != faultOrder_.end();
}

void CStructLayout::createHeaderMembers()
{
    for (const char* fixed : PacketMembers)
        headerScope_.reserve(fixed);
    // The first header of a direction, and every further one whose part is
    // not a member of the direction's own message struct.
    forEachBoundMessage(view_, [&](const CViewPortType&, const CViewOperation&, int, const CViewDirection& side) {
        const CListRun<CHeaderPart> headers = headerParts(side);
        for (std::size_t i = 0; i < headers.size(); ++i) {
            if (i == 0 || headers[i].message != side.message)
                addHeaderMember(headers[i]);
        }
    });
}

void CStructLayout::addHeaderMember(const CHeaderPart& header)
{
    const CViewPart* part = header.part();
    const auto key = std::make_pair(header.message, header.partIndex);
    if (part == nullptr || headerIndex_.count(key) != 0)
        return;
    CStructMember member;
    const std::string_view name = part->refKind == CViewPart::ElementRef && part->element ? part->element->name : part->name;
    if (part->refKind == CViewPart::ElementRef && part->element != nullptr && !part->element->type.isUser()) {
        // An element of a built-in type is held as its value.
        CStructDef scratch;
        fillElementDef(scratch, *part->element);
        member = scratch.members.front();
        member.origin = CStructMember::Part;
        member.part = part;
        if (member.kind == CStructMember::Dummy)
            return;
    } else if (!partMember(*part, *header.message, std::string(), member)) {
        return;
    }
    member.cName = cNames_.keepTerminated(headerScope_.claim(name));
    if (holdsContent(member))
        nameOwnType(member, &headerScope_);
    headerIndex_[key] = headerMembers_.size();
    addMember(headerMembers_, std::move(member));
}

bool CStructLayout::keepOwnTypes(bool onlyOthers) const
{
    const auto keep = [](const std::vector<CStructMember>& members, bool single) {
        return std::any_of(members.begin(), members.end(), [single](const CStructMember& member) {
            return !member.typeName.empty() && (single || member.isArray());
        });
    };
    // A struct of no type holds a global element's value.
    for (const CStructDef* def : typeOrder_) {
        if (keep(def->members, !onlyOthers || def->type == nullptr))
            return true;
    }
    for (const std::vector<const CStructDef*>* messages : {&messageOrder_, &faultOrder_}) {
        for (const CStructDef* def : *messages) {
            if (keep(def->members, true))
                return true;
        }
    }
    return keep(headerMembers_, true);
}

bool CStructLayout::keepsOwnTypes() const
{
    return keepOwnTypes(false);
}

bool CStructLayout::keepsOtherOwnTypes() const
{
    return keepOwnTypes(true);
}

bool CStructLayout::hasNilItems() const
{
    return std::any_of(typeOrder_.begin(), typeOrder_.end(), [](const CStructDef* def) {
        return std::any_of(def->members.begin(), def->members.end(), [](const CStructMember& member) {
            return member.origin == CStructMember::Items && !member.nilName.empty();
        });
    });
}

void CStructLayout::listCodecTypes()
{
    std::vector<bool> listed(view_.types().size(), false); // by position in the view
    const auto add = [&](const CViewType* type) {
        const std::size_t position = positionOf(type);
        if (position == CViewType::NoIndex || structOf(type) == nullptr || listed[position])
            return;
        listed[position] = true;
        codecTypes_.push_back(type);
    };
    for (const CViewSchema& schema : view_.schemas()) {
        for (const CViewType* type : schema.types)
            add(type);
    }
    for (const CViewType& type : view_.types())
        add(&type);
}

std::string itemElementName(const CViewType& arrayType, const CStructMember& member)
{
    if (member.xmlName != "*")
        return std::string(member.xmlName);
    if (member.userType != nullptr)
        return std::string(member.userType->name);
    // An element needs a name: "ArrayOfString" has none before "Array".
    const std::string_view::size_type cut = arrayType.name.find("Array");
    if (cut == 0)
        return "item";
    return std::string(arrayType.name.substr(0, cut));
}
