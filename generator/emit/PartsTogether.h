#ifndef KELVANE_GENERATOR_EMIT_PARTSTOGETHER_H
#define KELVANE_GENERATOR_EMIT_PARTSTOGETHER_H

#include <functional>
#include <vector>

class CTextBuffer;

// One part of a text: what it appends to the buffer it is given.
using CTextPart = std::function<void(CTextBuffer&)>;

// Writes the parts of one text at the same time, each on a thread of its own
// (the first on the calling thread, straight into out), and puts them into
// out in their order: the text is the one writing them one after the other
// gives, when out stands at depth 0 and every part closes the blocks it opens
// (the parts after the first start at depth 0). The parts after the
// first are put aside (CTextSpool) until those before them are in out. The
// parts must change nothing but their own text; when parts throw, the first
// one's exception in order leaves here, once every part has ended.
void writePartsTogether(CTextBuffer& out, const std::vector<CTextPart>& parts);

#endif
