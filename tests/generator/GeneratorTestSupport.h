#pragma once

// WSDL documents parsed into the emitters' view, emitted, and the generated
// C compiled by the build machine's C compiler.

#include "wsdl/WsdlParseTestSupport.h"
#include "generator/model/EmitContext.h"
#include "generator/emit/FaultDetails.h"
#include "generator/emit/FixedSenders.h"
#include "generator/emit/HeaderFile.h"
#include "generator/emit/HeaderStructs.h"
#include "generator/emit/MessageSenders.h"
#include "generator/emit/PacketDecoder.h"
#include "generator/emit/PacketFree.h"
#include "generator/emit/PacketReader.h"
#include "generator/emit/PrintFunctions.h"
#include "generator/emit/ResponseDecoders.h"
#include "generator/model/ServiceViewReader.h"
#include "generator/emit/SourceFile.h"
#include "generator/emit/SourceRuntime.h"
#include "generator/emit/TypeEncoders.h"
#include "generator/emit/TextBuffer.h"
#include "HostCommand.h"
#include "NativeSupportLibrary.h"
#include "support/WindowsProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace gentest {

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

inline bool canCompileForWindows()
{
#ifdef KELVANE_MINGW_C_COMPILER
    return true;
#else
    return false;
#endif
}

// GCC reads source lines back for its misleading-indentation check at a cost that grows with the
// square of a file's length (minutes for the largest corpus services), so that check is left out
// for sources of over 100,000 lines; gcc's own limit on column tracking drops it there anyway.
inline std::string largeSourceFlags(const std::string& text)
{
    return std::count(text.begin(), text.end(), '\n') > 100000 ? " -Wno-misleading-indentation" : "";
}

// Compiles text as C with warnings as errors, beside the files given (name,
// text); the compiler's messages come back. windows: with the mingw-w64
// compiler. The support library's headers are on the include path.
inline CompileResult compileC(const std::string& text, const std::vector<std::pair<std::string, std::string>>& files = {},
                              bool windows = false, const std::string& extraFlags = std::string())
{
    CompileResult result;
#if defined(KELVANE_C_COMPILER)
#ifdef KELVANE_MINGW_C_COMPILER
    const std::string compiler = windows ? KELVANE_MINGW_C_COMPILER : KELVANE_C_COMPILER;
#else
    const std::string compiler = KELVANE_C_COMPILER;
#endif
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("generated.c", text);
    for (const auto& file : files)
        testsupport::writeBytes(file.first, file.second);
    const std::string command = compiler + " -std=gnu99 -Wall -Werror -fsyntax-only" + largeSourceFlags(text) + " " + extraFlags +
        " -I. -I" KELVANE_SOURCE_DIR "/runtime/lib/include generated.c > messages.txt 2>&1";
    result.status = std::system(command.c_str());
    result.output = testsupport::readBytes("messages.txt");
#else
    (void)text;
    (void)files;
    (void)windows;
    (void)extraFlags;
#endif
    return result;
}

struct RunResult {
    int status = -1;
    std::string messages; // the compiler's
    std::string output;   // the program's standard output
};

// Whether the tests can build and run C programs: natively with the build
// machine's compiler, in the Windows build with mingw-w64 for Windows.
inline bool canBuildPrograms()
{
#if defined(KELVANE_C_COMPILER) || defined(KELVANE_WIN_C_COMPILER)
    return true;
#else
    return false;
#endif
}

// The project target whose generated code the programs of this build run.
inline int programPlatform()
{
#ifdef _WIN32
    return CProjectRecord::Windows;
#else
    return CProjectRecord::Unix;
#endif
}

// Builds program (".exe" added for Windows) from the C files given (a
// command line's list) against the support library's headers and libxml2,
// natively under the sanitizers when sanitize is set; messages.txt gets the
// compiler's messages. withLibrary: the support library is linked in.
inline int buildProgram(const std::string& sources, const std::string& program, bool withLibrary, bool sanitize)
{
#if defined(KELVANE_WIN_C_COMPILER)
    (void)sanitize;
    // Standard output in binary mode, so that it reads as the native build's does.
    testsupport::writeBytes("binary_output.c", "#include <fcntl.h>\n#include <io.h>\n#include <stdio.h>\n"
                                               "__attribute__((constructor)) static void binary_output(void)"
                                               "{ _setmode(_fileno(stdout), _O_BINARY); }\n");
    return runHostCommand(std::string(KELVANE_WIN_C_COMPILER) +
                          " -std=gnu99 -Wall -Werror -Wno-unused-function -I. -I" KELVANE_HOST_SOURCE_DIR
                          "/runtime/lib/include -I" KELVANE_XML2_INCLUDE_DIR " -DLIBXML_STATIC " + sources +
                          " binary_output.c -o " + program + ".exe -static " +
                          (withLibrary ? KELVANE_TESSARO_LIBRARY " " : "") + KELVANE_XML2_LIBRARY
                          " -lws2_32 -lsecur32 -lcrypt32 -lbcrypt > messages.txt 2>&1");
#elif defined(KELVANE_C_COMPILER)
    const NativeSupportLibrary* library = withLibrary ? &NativeSupportLibrary::of(sanitize) : nullptr;
    if (library != nullptr && !library->built()) {
        testsupport::writeBytes("messages.txt", library->messages());
        return 1;
    }
    return runHostCommand(nativeCompiler(sanitize) + " -I. " + nativeIncludes() + " " + sources +
                          (library != nullptr ? library->objects() + " -lssl -lcrypto -lpthread" : "") + " -o " +
                          program + " -lxml2 > messages.txt 2>&1");
#else
    (void)sources;
    (void)program;
    (void)withLibrary;
    (void)sanitize;
    return -1;
#endif
}

// A built program's run ends at this limit, natively and under Wine: a
// program that hangs is ended and named instead of holding its test.
constexpr std::chrono::milliseconds BuiltProgramLimit = std::chrono::minutes(5);

// Runs a program that buildProgram built in the working folder, with the
// arguments given, and reads back its standard output and error; natively
// with the leak checker on, after launcher (a command that runs the rest of
// its line) when one is given. A Windows program is started directly, so
// that a start that fails says why in messages (status -1). A program still
// running at limit is ended and fails the test; status -1, messages say so
// before what it wrote to standard error, output is what it wrote until then.
// The status is the program's exit code on both builds (-1 natively when a
// signal ended it).
inline RunResult runBuiltProgram(const std::string& program, const std::string& launcher = std::string(),
                                 const std::string& arguments = std::string(),
                                 std::chrono::milliseconds limit = BuiltProgramLimit)
{
    RunResult result;
    const std::string tail = arguments.empty() ? "" : " " + arguments;
    std::string failure;
#ifdef _WIN32
    (void)launcher;
    const std::string file = program + ".exe";
    const testsupport::LimitedRun run = testsupport::runWithin(file, file + tail, "output.txt", "errors.txt", limit);
    result.status = run.status;
    failure = run.failure;
    const bool overran = run.overran;
#else
    const long long milliseconds = limit.count();
    const std::string seconds = std::to_string(milliseconds / 1000) + "." + std::to_string(1000 + milliseconds % 1000).substr(1);
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(("timeout -k 10 " + seconds + " " + launcher + (launcher.empty() ? "" : " ") +
                                    "env ASAN_OPTIONS=detect_leaks=1 ./" + program + tail + " > output.txt 2> errors.txt")
                                       .c_str());
    // timeout's status for a program it ended (124), or its own end by SIGKILL when the program
    // would not end, seen directly or through the shell (137).
    const bool ended = (WIFEXITED(status) && (WEXITSTATUS(status) == 124 || WEXITSTATUS(status) == 128 + SIGKILL)) ||
        (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const bool overran = ended && std::chrono::steady_clock::now() - start >= limit;
    if (overran)
        failure = testsupport::overranLimit(program + tail, limit);
    else
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.output = testsupport::readBytes("output.txt");
    result.messages = testsupport::readBytes("errors.txt");
    if (!failure.empty())
        result.messages = failure + (result.messages.empty() ? "" : "\n" + result.messages);
    if (overran)
        ADD_FAILURE() << result.messages;
    return result;
}

// Builds a program from the C file main (with the files given beside it) as
// buildProgram does, under the sanitizers natively, and runs it.
inline RunResult buildAndRunC(const std::string& main, const std::vector<std::pair<std::string, std::string>>& files,
                              bool withLibrary = false, const std::string& arguments = std::string())
{
    RunResult result;
    if (!canBuildPrograms())
        return result;
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("main.c", main);
    for (const auto& file : files)
        testsupport::writeBytes(file.first, file.second);
    if (buildProgram("main.c", "program", withLibrary, true) != 0) {
        result.messages = testsupport::readBytes("messages.txt");
        return result;
    }
    return runBuiltProgram("program", std::string(), arguments);
}

// Runs the program a driver was built into with the arguments given, its output without carriage
// returns (a Windows program's line ends).
inline RunResult runDriver(const std::string& arguments)
{
    RunResult run = runBuiltProgram("program", std::string(), arguments);
    run.output.erase(std::remove(run.output.begin(), run.output.end(), '\r'), run.output.end());
    return run;
}

// Parses a document in a private folder and builds the view of it.
class GeneratorTest : public wsdltest::WsdlParseTest {
protected:
    CServiceView& view(const std::string& document)
    {
        parse(document);
        EXPECT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
        return *view_;
    }

    // Parses the document at location and builds the view of it.
    CServiceView& viewLocation(const std::string& location)
    {
        parseLocation(location);
        EXPECT_FALSE(parser_->hasError()) << diagnostics_.str();
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
        return *view_;
    }

    // The header and the source of project name for the document viewed
    // last, as the files "<name>_api.h" and "<name>_api.c".
    std::vector<std::pair<std::string, std::string>> emitLibrary(const std::string& name)
    {
        const std::string header = emitHeader(name, programPlatform());
        CTextBuffer source;
        writeSourceFile(*context_, source);
        return {{name + "_api.h", header}, {name + "_api.c", source.text()}};
    }

    // Writes the library of project name for the document viewed last, and driver as main.c, into the
    // working folder and builds them into "program" under the sanitizers: buildProgram's result.
    int buildDriver(const std::string& name, const std::string& driver)
    {
        for (const auto& [file, text] : emitLibrary(name))
            testsupport::writeBytes(file, text);
        testsupport::writeBytes("main.c", driver);
        return buildProgram("main.c", "program", true, true);
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
        project_.targetPlatform = CProjectRecord::Unix;
        context_ = std::make_unique<CEmitContext>(project_, *view_);
        CTextBuffer header;
        writeHeaderStructs(*context_, header);
        return header.text();
    }

    // The whole header of project name for the document viewed last.
    std::string emitHeader(const std::string& name, int platform = CProjectRecord::Unix)
    {
        project_.name = name;
        project_.targetPlatform = platform;
        context_ = std::make_unique<CEmitContext>(project_, *view_);
        CTextBuffer header;
        writeHeaderFile(*context_, header);
        return header.text();
    }

    // The source emitted so far for the context emitted last: includes,
    // runtime, fixed senders, encoders, message senders and dispatch.
    std::string emitPartialSource()
    {
        CTextBuffer source;
        writeSourceIncludes(*context_, source);
        writeSourceRuntime(*context_, source);
        writeFixedSenders(*context_, source);
        writeTypeEncoders(*context_, source);
        writeMessageSenders(*context_, source);
        writeFaultDetailSender(*context_, source);
        writePacketDispatch(*context_, source);
        return source.text();
    }

    // The partial source followed by the packet reader, the decoders, the
    // packet decoder and the packet's free function.
    std::string emitSourceWithReaders()
    {
        CTextBuffer source;
        source.append(emitPartialSource());
        writeSourcePacketReader(*context_, source);
        writeResponseDecoders(*context_, source);
        writePacketDecoder(*context_, source);
        writePacketFree(*context_, source);
        return source.text();
    }

    // The source with the readers, a line end and the print functions.
    std::string emitSourceWithPrinters()
    {
        CTextBuffer source;
        source.append(emitSourceWithReaders());
        source.emptyLine();
        writePrintFunctions(*context_, source);
        return source.text();
    }

    std::string headerText()
    {
        CTextBuffer header;
        writeHeaderFile(*context_, header);
        return header.text();
    }

    // The whole header of the context emitted last, included twice by a C
    // file and compiled for the project's target.
    CompileResult compileHeader()
    {
        CTextBuffer header;
        writeHeaderFile(*context_, header);
        const std::string name = project_.name + "_api.h";
        return compileC("#include \"" + name + "\"\n#include \"" + name + "\"\n", {{name, header.text()}},
                        project_.isWindowsTarget());
    }

    // The source with its header, compiled for a Unix target.
    CompileResult compilePartialSource()
    {
        return compileC(emitSourceWithPrinters(), {{project_.name + "_api.h", headerText()}}, false,
                        "-Wno-unused-function -I/usr/include/libxml2");
    }

    CProjectRecord project_;
    std::unique_ptr<CServiceView> view_;
    std::unique_ptr<CEmitContext> context_;
};

// Emits with texts held in fixed arrays of 128 bytes (kvgen --text-length=128),
// as the specified text has them: for checks of that text, and for drivers
// that fill texts in place.
class FixedTextsTest : public GeneratorTest {
protected:
    FixedTextsTest() { project_.textLength = 128; }
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
