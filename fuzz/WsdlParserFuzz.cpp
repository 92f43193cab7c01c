// The WSDL reader and the emitters on one document: it generates its three
// files or is rejected through the reader's exceptions or messages. Anything
// else is a finding. Nothing the document names is fetched.

#include "fuzz/FuzzFile.h"
#include "generator/emit/GeneratorRun.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/ProjectRecord.h"
#include "schema/SchemaParserException.h"
#include "wsdl/WsdlException.h"
#include "xml/XmlPullParserException.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    refuseDownloads();
    const CFuzzFile file(data, size, "doc.wsdl");
    CProjectRecord project;
    project.name = "fz";
    project.wsdlPath = file.path();
    project.targetPlatform = size % 2 == 0 ? CProjectRecord::Unix : CProjectRecord::Windows;
    std::ostringstream messages;
    CGeneratedFiles files;
    try {
        generateSources(project, KELVANE_SOURCE_DIR "/runtime/soap-schemas/", messages, files);
    } catch (const Wsdl::WsdlException&) {
    } catch (const Schema::SchemaParserException&) {
    } catch (const XmlPullParserException&) {
    }
    return 0;
}
