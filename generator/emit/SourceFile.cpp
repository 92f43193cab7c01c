#include "generator/emit/SourceFile.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/FixedSenders.h"
#include "generator/emit/HeaderFile.h"
#include "generator/emit/MessageSenders.h"
#include "generator/emit/OperationCalls.h"
#include "generator/emit/PacketDecoder.h"
#include "generator/emit/PacketFree.h"
#include "generator/emit/PacketReader.h"
#include "generator/emit/PartsTogether.h"
#include "generator/emit/PrintFunctions.h"
#include "generator/emit/ResponseDecoders.h"
#include "generator/emit/SourceRuntime.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TypeEncoders.h"

namespace {

// The file in parts of about the same work on a large service; the first
// also passes every part on to the file.
void writeRuntimeAndEncoders(const CEmitContext& context, CTextBuffer& source)
{
    writeSourceIncludes(context, source);
    writeSourceRuntime(context, source);
    writeFixedSenders(context, source);
    writeTypeEncoders(context, source);
}

void writeSendersAndReader(const CEmitContext& context, CTextBuffer& source)
{
    writeMessageSenders(context, source);
    writePacketDispatch(context, source);
    writeSourcePacketReader(context, source);
}

void writePacketDecoderAndFree(const CEmitContext& context, CTextBuffer& source)
{
    writePacketDecoder(context, source);
    writePacketFree(context, source);
}

void writePrintsAndCalls(const CEmitContext& context, CTextBuffer& source)
{
    source.emptyLine();
    writePrintFunctions(context, source);
    writeOperationCalls(context, source);
}

} // namespace

void writeSourceFile(const CEmitContext& context, CTextBuffer& source)
{
    writePartsTogether(source, {[&](CTextBuffer& part) { writeRuntimeAndEncoders(context, part); },
                                [&](CTextBuffer& part) { writeSendersAndReader(context, part); },
                                [&](CTextBuffer& part) { writeResponseDecoders(context, part); },
                                [&](CTextBuffer& part) { writePacketDecoderAndFree(context, part); },
                                [&](CTextBuffer& part) { writePrintsAndCalls(context, part); }});
}
