#ifndef KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H
#define KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H

class CEmitContext;
class CTextBuffer;
struct CStructDef;
struct CStructMember;
class CViewType;

// The decoders of "<proj>_api.c": the conversion helpers they need, the
// SOAP fault's decoder and one decode_<T>_t per type with a struct, each
// filling its struct from a parsed element and giving -1 for a value that
// does not convert or does not fit.
void writeResponseDecoders(const CEmitContext& context, CTextBuffer& source);

// A type whose members are all repeated elements reads each child apart
// from the others: it also gets "decode_<T>_item(doc, cur, void *value)",
// which takes one child, so that a reader can hand its items over one at a
// time.
bool decodedItemByItem(const CViewType& type, const CStructDef& def);

// Of such a type, one whose items are all numbers or texts: its item
// function reads an item's name, namespace, xsi:nil and position and its
// text alone, so that a reader may hand it an element that holds no more.
bool readFromItemText(const CStructDef& def);

// A single number, text or structure element that neither minOccurs="0"
// nor a choice lets stand out: its decoder fails where it does not come.
// (A text may be empty and a nillable one nil; it must come.)
bool isRequiredValue(const CStructMember& member);

#endif
