#include "generator/emit/SourceFile.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/FaultDetails.h"
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
#include "generator/emit/ServerDispatch.h"
#include "generator/emit/SourceRuntime.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TypeEncoders.h"

namespace {

// The file in three parts of about the same work on a large service.
void writeRuntimeAndSenders(const CEmitContext& context, CTextBuffer& source)
{
    writeSourceIncludes(context, source);
    writeSourceRuntime(context, source);
    writeFixedSenders(context, source);
    writeTypeEncoders(context, source);
    writeMessageSenders(context, source);
    writeFaultDetailSender(context, source);
    writePacketDispatch(context, source);
    writeSourcePacketReader(context, source);
}

void writeDecodersAndFree(const CEmitContext& context, CTextBuffer& source)
{
    writeResponseDecoders(context, source);
    writePacketDecoder(context, source);
    writePacketFree(context, source);
}

void writePrintsAndCalls(const CEmitContext& context, CTextBuffer& source)
{
    source.emptyLine();
    writePrintFunctions(context, source);
    writeOperationCalls(context, source);
    writeServerDispatch(context, source);
}

} // namespace

void writeSourceFile(const CEmitContext& context, CTextBuffer& source)
{
    writePartsTogether(source, {[&](CTextBuffer& part) { writeRuntimeAndSenders(context, part); },
                                [&](CTextBuffer& part) { writeDecodersAndFree(context, part); },
                                [&](CTextBuffer& part) { writePrintsAndCalls(context, part); }});
}
