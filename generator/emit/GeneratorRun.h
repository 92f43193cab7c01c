#ifndef KELVANE_GENERATOR_EMIT_GENERATORRUN_H
#define KELVANE_GENERATOR_EMIT_GENERATORRUN_H

#include <iosfwd>
#include <memory>
#include <string>

namespace Wsdl {
class WsdlParser;
}
class CEmitContext;
class CServiceView;
class CTextBuffer;
struct CGeneratedFiles;
struct CProjectRecord;

// One run of the generator over a project's WSDL document: the view of the
// reader's model and what the emitters work out from the view. The reader's
// model goes as soon as the view is built: the view holds all the emitters
// read. Each file is written into a buffer of the caller's, which may pass
// it on to disk.
class CGeneratorRun {
public:
    CGeneratorRun(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages);
    CGeneratorRun(const CGeneratorRun&) = delete;
    CGeneratorRun& operator=(const CGeneratorRun&) = delete;
    ~CGeneratorRun();

    // Reads the document with the built-in schemas of the schema folder,
    // the reader's messages going to messages. False when the reader
    // rejected the document; the reader's exceptions leave as they are.
    // Called once.
    bool read();

    // "<proj>_api.h", "<proj>_api.c", "<proj>_api_demo.c" and the service's
    // skeleton "<proj>_server.c"; after a read that returned true.
    void writeHeader(CTextBuffer& header) const;
    void writeSource(CTextBuffer& source) const;
    void writeDemo(CTextBuffer& demo) const;
    void writeServer(CTextBuffer& skeleton) const;
    // The parsed service; after a read that returned true.
    const CServiceView& view() const { return *view_; }

private:
    const CProjectRecord& project_;
    std::unique_ptr<Wsdl::WsdlParser> parser_;
    std::unique_ptr<CServiceView> view_;
    std::unique_ptr<CEmitContext> context_;
};

// Reads the project's WSDL document with the built-in schemas of
// schemaFolder, writing the reader's messages to messages, and replaces the
// header, source and demo text of files. False when the reader rejected the
// document (files are untouched); exceptions of the reader and emitters
// leave as they are.
bool generateSources(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages,
                     CGeneratedFiles& files);

#endif
