#include "generator/SourceFile.h"

#include "generator/DemoFile.h"
#include "generator/EmitContext.h"
#include "generator/FixedSenders.h"
#include "generator/HeaderFile.h"
#include "generator/MessageSenders.h"
#include "generator/PacketDecoder.h"
#include "generator/PacketReader.h"
#include "generator/PrintFunctions.h"
#include "generator/ResponseDecoders.h"
#include "generator/ServiceViewReader.h"
#include "generator/SourceRuntime.h"
#include "generator/TextBuffer.h"
#include "generator/TypeEncoders.h"
#include "wsdl/WsdlParser.h"

#include <memory>

void writeSourceFile(const CEmitContext& context, CTextBuffer& source, CTextBuffer& demo)
{
    writeSourceIncludes(context, source);
    writeSourceRuntime(context, source);
    writeFixedSenders(context, source);
    writeTypeEncoders(context, source);
    writeMessageSenders(context, source);
    writePacketDispatch(context, source);
    writeSourcePacketReader(context, source);
    writeResponseDecoders(context, source);
    writePacketDecoder(context, source);
    source.emptyLine();
    writePrintFunctions(context, source);
    writeDemoFile(context, demo);
}

bool generateSources(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages,
                     CGeneratedFiles& files)
{
    // The view points into the reader's model: the reader lives until the
    // text is written.
    auto parser = std::make_unique<Wsdl::WsdlParser>(project.wsdlPath, messages, schemaFolder);
    while (parser->getState() != Wsdl::WsdlParser::END)
        parser->parse();
    if (parser->hasError())
        return false;
    const CServiceView view = readServiceView(*parser);
    const CEmitContext context(project, view);
    CGeneratedFiles next;
    writeHeaderFile(context, next.header);
    writeSourceFile(context, next.source, next.demo);
    files.header = std::move(next.header);
    files.source = std::move(next.source);
    files.demo = std::move(next.demo);
    return true;
}
