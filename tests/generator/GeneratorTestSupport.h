#pragma once

// WSDL documents parsed into the emitters' view, emitted, and the generated
// C compiled by the build machine's C compiler.

#include "wsdl/WsdlParseTestSupport.h"
#include "generator/EmitContext.h"
#include "generator/HeaderStructs.h"
#include "generator/ServiceViewReader.h"
#include "generator/TextBuffer.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace gentest {

// A prelude standing in for the header sections before the structs: the
// support library's two types and every length macro the layout uses.
inline std::string structPrelude(const CStructLayout& layout)
{
    std::string text = "typedef int tessaro_socket_t;\ntypedef unsigned short tessaro_port_t;\n";
    text += "#define " + layout.projUpper() + "_MAX_ARRAY_NUM 5\n";
    text += "#define " + layout.projUpper() + "_MAX_HTTP_HEADER_NUM 5\n";
    for (const CLengthConstant& length : layout.lengthConstants())
        text += "#define " + length.name + " " + std::to_string(length.value) + "\n";
    return text;
}

struct CompileResult {
    int status = -1;
    std::string output;
};

inline bool canCompileC()
{
#ifdef KELVANE_C_COMPILER
    return true;
#else
    return false;
#endif
}

// Compiles text as C with warnings as errors; the compiler's messages come back.
inline CompileResult compileC(const std::string& text, const std::string& extraFlags = std::string())
{
    CompileResult result;
#ifdef KELVANE_C_COMPILER
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("generated.c", text);
    const std::string command = std::string(KELVANE_C_COMPILER) +
        " -std=gnu99 -Wall -Werror -fsyntax-only " + extraFlags + " generated.c > messages.txt 2>&1";
    result.status = std::system(command.c_str());
    result.output = testsupport::readBytes("messages.txt");
#else
    (void)text;
    (void)extraFlags;
#endif
    return result;
}

// Parses a document in a private folder and builds the view of it.
class GeneratorTest : public wsdltest::WsdlParseTest {
protected:
    const CServiceView& view(const std::string& document)
    {
        parse(document);
        EXPECT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
        return *view_;
    }

    // The struct section of the header of project name for the document.
    std::string structs(const std::string& document, const std::string& name = "shop")
    {
        view(document);
        return emitStructs(name);
    }

    std::string emitStructs(const std::string& name)
    {
        project_.name = name;
        context_ = std::make_unique<CEmitContext>(project_, *view_);
        CTextBuffer header;
        writeHeaderStructs(*context_, header);
        return header.text();
    }

    // The structs after the prelude, compiled.
    CompileResult compileStructs(const std::string& text)
    {
        return compileC(structPrelude(context_->layout()) + text);
    }

    CProjectRecord project_;
    std::unique_ptr<CServiceView> view_;
    std::unique_ptr<CEmitContext> context_;
};

// One schema of target namespace urn:t inside a types section, with xsd
// and tns bound.
inline std::string schemaDocument(const std::string& schemaBody, const std::string& rest = std::string())
{
    return wsdltest::definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + schemaBody +
                                 "</xsd:schema></types>\n" + rest);
}

// The lines of text (CR LF ends) between the line that starts with first
// and the next line that starts with "}", both included.
inline std::string block(const std::string& text, const std::string& first)
{
    const std::string::size_type begin = text.find(first);
    if (begin == std::string::npos)
        return std::string();
    const std::string::size_type close = text.find("\r\n}", begin);
    const std::string::size_type end = text.find("\r\n", close + 2);
    return text.substr(begin, end - begin + 2);
}

} // namespace gentest
