#include "generator/emit/PacketReader.h"

#include "generator/emit/Fragments.h"

void writeSourcePacketReader(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::PacketReader, source);
}
