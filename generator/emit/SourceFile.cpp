#include "generator/emit/SourceFile.h"

#include "generator/emit/DemoFile.h"
#include "generator/model/EmitContext.h"
#include "generator/emit/FixedSenders.h"
#include "generator/emit/HeaderFile.h"
#include "generator/emit/MessageSenders.h"
#include "generator/emit/PacketDecoder.h"
#include "generator/emit/PacketReader.h"
#include "generator/emit/PrintFunctions.h"
#include "generator/emit/ResponseDecoders.h"
#include "generator/model/ServiceViewReader.h"
#include "generator/emit/SourceRuntime.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TypeEncoders.h"
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
