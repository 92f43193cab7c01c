#ifndef KELVANE_GENERATOR_MODEL_OPERATIONWALK_H
#define KELVANE_GENERATOR_MODEL_OPERATIONWALK_H

#include "generator/model/ListRun.h"
#include "generator/model/ServiceView.h"

// The walk several emitters share: port types in document order, their
// operations in order, only those whose port type has a SOAP binding with a
// record of the operation's name (matched by name when the view was read).

template <typename Visit>
void forEachBoundOperation(const CServiceView& view, Visit visit)
{
    for (const CViewPortType& portType : view.portTypes()) {
        for (const CViewOperation& operation : portType.operations) {
            if (operation.soapBound)
                visit(portType, operation);
        }
    }
}

// How many operations the walk visits, for lists of one entry each.
inline std::size_t countBoundOperations(const CServiceView& view)
{
    std::size_t count = 0;
    forEachBoundOperation(view, [&count](const CViewPortType&, const CViewOperation&) { ++count; });
    return count;
}

// Whether some bound operation goes in SOAP version (11 or 12).
inline bool bindsSoapVersion(const CServiceView& view, int version)
{
    bool found = false;
    forEachBoundOperation(view, [&](const CViewPortType&, const CViewOperation& operation) {
        found = found || operation.soapVersion == version;
    });
    return found;
}

// The input (direction 0) and then the output (direction 1) of each bound
// operation; a direction without a message is passed over.
template <typename Visit>
void forEachBoundMessage(const CServiceView& view, Visit visit)
{
    forEachBoundOperation(view, [&](const CViewPortType& portType, const CViewOperation& operation) {
        for (int direction = 0; direction < 2; ++direction) {
            const CViewDirection& side = operation.direction(direction);
            if (side.message != nullptr)
                visit(portType, operation, direction, side);
        }
    });
}

// Whether a message of a SOAP 1.2 operation is SOAP-encoded: its encoders
// then write either version's encoding.
inline bool bindsSoap12Encoding(const CServiceView& view)
{
    bool found = false;
    forEachBoundMessage(view, [&](const CViewPortType&, const CViewOperation& operation, int, const CViewDirection& side) {
        found = found || (operation.soapVersion == 12 && side.encoded);
    });
    return found;
}

// Whether a part is the one a soap:header carries: same name, same type.
inline bool isHeaderPart(const CViewPart& part, const CHeaderPart& header)
{
    const CViewPart* carried = header.part();
    return carried != nullptr && carried->name == part.name && carried->type.builtin == part.type.builtin &&
        carried->type.user == part.type.user;
}

// Every soap:header of a direction, in the direction itself; a view built
// by hand may give only the first.
inline CListRun<CHeaderPart> headerParts(const CViewDirection& side)
{
    if (side.headers.empty() && side.header.message != nullptr)
        return CListRun<CHeaderPart>(&side.header, &side.header + 1);
    return CListRun<CHeaderPart>(side.headers.data(), side.headers.data() + side.headers.size());
}

// Whether a part of a message goes into the Header instead of the Body.
inline bool inHeader(const CViewPart& part, CListRun<CHeaderPart> headers)
{
    for (const CHeaderPart& header : headers) {
        if (isHeaderPart(part, header))
            return true;
    }
    return false;
}

#endif
