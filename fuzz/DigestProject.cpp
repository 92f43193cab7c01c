// Writes the header and source of the example calculator as project "fd" with Digest
// authentication (kvgen has no option for it: a project's solution file sets it) into the folder
// named, for the fuzz target of the challenge reader.

#include "generator/emit/GeneratorRun.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/ProjectRecord.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_digest_project FOLDER\n";
        return 2;
    }
    CProjectRecord project;
    project.name = "fd";
    project.wsdlPath = KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl";
    project.targetPlatform = CProjectRecord::Unix;
    project.authType = CProjectRecord::AuthDigest;
    CGeneratedFiles files;
    if (!generateSources(project, KELVANE_SOURCE_DIR "/runtime/soap-schemas/", std::cerr, files))
        return 1;
    const std::string folder = argv[1];
    std::ofstream(folder + "/fd_api.h", std::ios::binary) << files.header.text();
    std::ofstream(folder + "/fd_api.c", std::ios::binary) << files.source.text();
    return 0;
}
