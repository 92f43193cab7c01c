#ifndef KELVANE_GENERATOR_EMIT_SOURCEFILE_H
#define KELVANE_GENERATOR_EMIT_SOURCEFILE_H

#include <iosfwd>
#include <string>

class CEmitContext;
struct CGeneratedFiles;
class CTextBuffer;
struct CProjectRecord;

// "<proj>_api.c" into source and "<proj>_api_demo.c" into demo: includes,
// declarations and the runtime, encoders and senders, the packet reader,
// the decoders, the packet decoder, a blank line, then the print functions;
// the demo last.
void writeSourceFile(const CEmitContext& context, CTextBuffer& source, CTextBuffer& demo);

// Reads the project's WSDL document with the built-in schemas of
// schemaFolder, writing the reader's messages to messages, and replaces the
// header, source and demo text of files. False when the reader rejected the
// document (files are untouched); exceptions of the reader and emitters
// leave as they are.
bool generateSources(const CProjectRecord& project, const std::string& schemaFolder, std::ostream& messages,
                     CGeneratedFiles& files);

#endif
