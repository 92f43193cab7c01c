#include "generator/emit/PacketFree.h"

#include "generator/model/EmitContext.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/FaultDetails.h"
#include "generator/emit/MetIndexes.h"
#include "generator/emit/TextBuffer.h"

#include <algorithm>
#include <string_view>

namespace {

// What CHeldStorage says of a struct.
enum : unsigned char { NotWorkedOut, HoldsNone, HoldsStorage };

class CFreeWriter {
public:
    CFreeWriter(const CEmitContext& context, CHeldStorage& holds, CTextBuffer& out)
        : context_(context), out_(out), holds_(holds)
    {
    }

    void write()
    {
        const CStructLayout& layout = context_.layout();
        std::vector<const CViewType*> owners;
        for (const CViewType* type : layout.codecTypes()) {
            if (holdsStorage(*layout.structOf(type)))
                owners.push_back(type);
        }
        // Types that hold each other call each other's functions; a type
        // no message holds leaves its function unused.
        for (const CViewType* type : owners)
            out_.line("static void free_", type->cName, "_t(", context_.proj(), "_", type->cName, "_t *value) ",
                      context_.projUpper(), "_MAYBE_UNUSED;");
        if (!owners.empty())
            out_.emptyLine();
        for (const CViewType* type : owners) {
            out_.line("static void free_", type->cName, "_t(", context_.proj(), "_", type->cName, "_t *value)");
            out_.open("{");
            writeMembers(layout.structOf(type)->heldMembers(), "value->", out_);
            out_.close();
            out_.emptyLine();
        }
        writePacket();
    }

    // Frees what def's members hold, reached through owner ("msg->").
    void writeStructMembers(const CStructDef& def, const std::string& owner)
    {
        writeMembers(def.members, owner, out_);
    }

private:
    // Whether a struct holds storage of its own, directly or in a struct it
    // holds by value (pointers and arrays hold storage, so the walk ends).
    bool holdsStorage(const CStructDef& def)
    {
        if (def.index >= holds_.size())
            holds_.resize(std::max(def.index + 1, 2 * holds_.size()), NotWorkedOut);
        if (holds_[def.index] != NotWorkedOut)
            return holds_[def.index] == HoldsStorage;
        // Met again inside itself, the struct adds nothing to what it holds.
        holds_[def.index] = HoldsNone;
        bool holds = false;
        for (const CStructMember& member : def.heldMembers())
            holds = holds || ownsStorage(member) || carriedText(member) != nullptr ||
                (member.target != nullptr && freesInside(member));
        holds_[def.index] = holds ? HoldsStorage : HoldsNone;
        return holds;
    }

    static bool ownsStorage(const CStructMember& member) { return member.isArray() || member.pointer; }

    // The allocated text of a global element of a built-in type that the
    // member holds in its struct; null when there is none.
    static const CStructMember* carriedText(const CStructMember& member)
    {
        const CStructMember* inner = carriedValue(member);
        return inner != nullptr && inner != &member && inner->pointer ? inner : nullptr;
    }

    // Whether the struct the member holds (or each of its items) has a free function.
    bool freesInside(const CStructMember& member)
    {
        const CStructDef* def = member.userType != nullptr ? context_.layout().structOf(member.userType) : nullptr;
        return def != nullptr && holdsStorage(*def);
    }

    void writeMembers(const std::vector<CStructMember>& members, const std::string& owner, CTextBuffer& out)
    {
        // The member's access path, made only for members that hold storage.
        // A member whose struct frees inside has a user type.
        std::string access;
        for (const CStructMember& member : members) {
            if (member.isArray()) {
                access.assign(owner).append(member.cName);
                // Each item holds storage of its own: a struct's, or an allocated text.
                if (freesInside(member) || member.pointer) {
                    out.open("if(", access, " != NULL){");
                    out.line("int\ti;");
                    out.emptyLine();
                    out.line("for(i = 0; i < ", owner, member.countName, "; i++)");
                    if (member.pointer)
                        out.line("\tfree(", access, "[i]);");
                    else
                        out.line("\tfree_", member.userType->cName, "_t(&", access, "[i]);");
                    out.close();
                }
                writeItemTypesFree(member, owner, out);
                out.line("free(", access, ");");
                out.line(access, " = NULL;");
                out.line(owner, member.countName, " = 0;");
                if (!member.nilName.empty()) {
                    out.line("free(", owner, member.nilName, ");");
                    out.line(owner, member.nilName, " = NULL;");
                }
            } else if (member.pointer) {
                access.assign(owner).append(member.cName);
                out.open("if(", access, " != NULL){");
                if (freesInside(member))
                    out.line("free_", member.userType->cName, "_t(", access, ");");
                out.line("free(", access, ");");
                out.line(access, " = NULL;");
                out.close();
                // What is gone is no longer there to be written.
                if (!member.presentName.empty())
                    out.line(owner, member.presentName, " = 0;");
                writeTypesFree(member, owner, out);
            } else if (const CStructMember* text = carriedText(member)) {
                access.assign(owner).append(member.cName).append(".");
                const std::size_t inside = access.size();
                out.line("free(", access.append(text->cName), ");");
                out.line(access, " = NULL;");
                writeTypesFree(*text, access.substr(0, inside), out);
            } else if (member.target != nullptr && freesInside(member)) {
                out.line("free_", member.userType->cName, "_t(&", owner, member.cName, ");");
            }
        }
    }

    // An anyType value's own type and its namespace, freed.
    static void writeTypesFree(const CStructMember& member, const std::string& owner, CTextBuffer& out)
    {
        for (const std::string_view typeText : {member.typeName, member.typeNsName}) {
            if (typeText.empty())
                continue;
            out.line("free(", owner, typeText, ");");
            out.line(owner, typeText, " = NULL;");
        }
    }

    // The types of a repeated anyType element's items, each item's and
    // their arrays (counted by the items' count, which they keep up with).
    static void writeItemTypesFree(const CStructMember& member, const std::string& owner, CTextBuffer& out)
    {
        if (member.typeName.empty())
            return;
        for (const std::string_view typeText : {member.typeName, member.typeNsName}) {
            out.open("if(", owner, typeText, " != NULL){");
            out.line("int\ti;");
            out.emptyLine();
            out.line("for(i = 0; i < ", owner, member.countName, "; i++)");
            out.line("\tfree(", owner, typeText, "[i]);");
            out.close();
        }
        writeTypesFree(member, owner, out);
    }

    void writePacket()
    {
        const std::string& p = context_.proj();
        const CStructLayout& layout = context_.layout();
        out_.line("//frees what the packet reader allocated in pk: arrays, nested structs and the attachment");
        out_.line(exportedDefinitionHead(p, CExportedFunction::FreePacket));
        out_.open("{");
        writeMembers(layout.headerMembers(), "pk->", out_);
        out_.line("if(pk->msg_type == ", context_.projUpper(), "_PROTO_SOAP_FAULT)");
        out_.line("\t", p, "_free_fault(&pk->msg.soap_fault);");
        CTextBuffer cases;
        cases.indent();
        CMetIndexes labels; // by key index
        // What a kind's messages hold, in room that stays from kind to kind.
        CTextBuffer otherFree;
        CTextBuffer firstFree;
        forEachBoundMessage(context_.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                                 const CViewDirection& side) {
            for (const CMessageKey* key : context_.keys().keysOf(operation, direction)) {
                if (!labels.firstTime(key->index))
                    continue;
                // A kind whose request and response are different messages
                // holds the one of its direction.
                const int other = key->otherDirection();
                const std::size_t depth = cases.depth() + 1; // inside the case
                otherFree.clear();
                if (other >= 0)
                    writeMessageMembers(*key->messages[other], depth + 1, otherFree);
                firstFree.clear();
                writeMessageMembers(*side.message, depth, firstFree);
                if (otherFree.empty() && firstFree.empty())
                    continue;
                cases.line("case ", context_.projUpper(), "_PROTO_", key->id, ":");
                cases.indent();
                if (!otherFree.empty()) {
                    cases.open("if(pk->msg_direction == ", context_.directionConstant(other), "){");
                    cases.append(otherFree.text());
                    cases.line("break;");
                    cases.close();
                }
                cases.append(firstFree.text());
                cases.line("break;");
                cases.outdent();
            }
        });
        if (!cases.empty()) {
            out_.line("switch(pk->msg_type){");
            out_.append(cases.text());
            out_.line("default:");
            out_.line("\tbreak;");
            out_.line("}");
        }
        out_.line("free(pk->attachment);");
        out_.line("pk->attachment = NULL;");
        out_.line("pk->attachment_length = 0;");
        out_.close();
        out_.emptyLine();
    }

    // Frees what a message of the packet holds, into out at the depth given.
    void writeMessageMembers(const CViewMessage& message, std::size_t depth, CTextBuffer& out)
    {
        while (out.depth() < depth)
            out.indent();
        const CStructDef* def = context_.layout().structOf(&message);
        if (def != nullptr && holdsStorage(*def))
            writeMembers(def->members, std::string("pk->msg.").append(message.cName).append("."), out);
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    CHeldStorage& holds_;
};

} // namespace

void writePacketFree(const CEmitContext& context, CTextBuffer& source)
{
    CHeldStorage known;
    CFreeWriter(context, known, source).write();
    writeFaultFree(context, known, source);
}

void writeMessageFree(const CEmitContext& context, const CStructDef& message, const std::string& owner,
                      CHeldStorage& known, CTextBuffer& body)
{
    CFreeWriter(context, known, body).writeStructMembers(message, owner);
}
