#ifndef KELVANE_GENERATOR_EMIT_TYPEENCODERS_H
#define KELVANE_GENERATOR_EMIT_TYPEENCODERS_H

class CEmitContext;
class CTextBuffer;

// One encoder per type with a struct:
// "static int encode_<T>_t(mycursor_t *buff, char *name, <proj>_<T>_t *value)"
// writes the value as the element "<proj>:<name>" (members unprefixed),
// text XML-escaped and numbers in their C type's conversion. It returns 0,
// or -1 when the text did not fit the cursor's buffer.
void writeTypeEncoders(const CEmitContext& context, CTextBuffer& source);

#endif
