#include "generator/emit/GeneratorRun.h"

#include "generator/emit/DemoFile.h"
#include "generator/emit/HeaderFile.h"
#include "generator/emit/ServerSkeleton.h"
#include "generator/emit/SourceFile.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/ServiceViewReader.h"
#include "wsdl/WsdlParser.h"

CGeneratorRun::CGeneratorRun(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages)
    : project_(project), parser_(std::make_unique<Wsdl::WsdlParser>(project.wsdlPath, messages, schemaFolder))
{
}

CGeneratorRun::~CGeneratorRun() = default;

bool CGeneratorRun::read()
{
    while (parser_->getState() != Wsdl::WsdlParser::END)
        parser_->parse();
    if (parser_->hasError())
        return false;
    view_ = std::make_unique<CServiceView>(readServiceView(std::move(parser_)));
    context_ = std::make_unique<CEmitContext>(project_, *view_);
    return true;
}

void CGeneratorRun::writeHeader(CTextBuffer& header) const
{
    writeHeaderFile(*context_, header);
}

void CGeneratorRun::writeSource(CTextBuffer& source) const
{
    writeSourceFile(*context_, source);
}

void CGeneratorRun::writeDemo(CTextBuffer& demo) const
{
    writeDemoFile(*context_, demo);
}

void CGeneratorRun::writeServer(CTextBuffer& skeleton) const
{
    writeServerSkeleton(*context_, skeleton);
}

bool generateSources(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages,
                     CGeneratedFiles& files)
{
    CGeneratorRun run(project, schemaFolder, messages);
    if (!run.read())
        return false;
    CGeneratedFiles next;
    run.writeHeader(next.header);
    run.writeSource(next.source);
    run.writeDemo(next.demo);
    files.header = std::move(next.header);
    files.source = std::move(next.source);
    files.demo = std::move(next.demo);
    return true;
}
