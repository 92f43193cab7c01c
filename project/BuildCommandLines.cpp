#include "project/BuildCommandLines.h"

#include "generator/model/ProjectRecord.h"
#include "project/CommandQuoting.h"
#include "project/ProjectFiles.h"

namespace {

bool endsInSeparator(const std::string& folder)
{
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
}

std::string windowsPath(const std::string& folder, const std::string& piece)
{
    return endsInSeparator(folder) ? folder + piece : folder + "\\" + piece;
}

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// The include folders go bare, with their final backslash, unless a blank
// makes them need quotes.
std::string includeOption(const std::string& location, const std::string& folder)
{
    if (location.find(' ') == std::string::npos)
        return "/I " + windowsPath(location, folder + "\\") + " ";
    return "/I " + quoted(windowsPath(location, folder)) + " ";
}

std::string compilerHead(const std::string& vcvars, const char* mode, const std::string& location)
{
    return quoted(vcvars) + " & cl.exe  " + mode + "/MD /W3 /I ./ " + includeOption(location, "lib\\include") +
           includeOption(location, "libxml2\\include");
}

std::string libraryPaths(const std::string& location)
{
    return " /LIBPATH:" + quoted(windowsPath(location, "lib\\bin\\win32")) + " tessaroMTD.lib wsock32.lib" +
           " /LIBPATH:" + quoted(windowsPath(location, "libxml2\\lib")) + " libxml2.lib";
}

std::string productPath(const CProjectRecord& project, const std::string& suffix)
{
    return quoted(windowsPath(project.location, project.name + suffix));
}

}  // namespace

std::string libraryCompileLine(const CProjectRecord& project, const std::string& vcvars)
{
    const std::string& location = project.location;
    if (project.libraryType == CProjectRecord::DllLibrary) {
        return compilerHead(vcvars, "", location) +
               "/O2 /D \"WIN32\" /D\"_DEBUG\" /D\"_WINDOWS\" /D \"_USRDLL\" /D \"API_EXPORTS\"  /D\"MBCS\" /Fe" +
               productPath(project, ".dll") + " " + productPath(project, "_api.c") +
               "  /link /nologo /DLL /subsystem:windows /incremental:no /machine:I386 " +
               libraryPaths(location);
    }
    // The librarian names its output after the object and puts it in the
    // current folder unless told where.
    return compilerHead(vcvars, "/c ", location) + "/O2 /D \"WIN32\" /D\"_DEBUG\" /D\"_WINDOWS\" /D\"_LIB\"  /D\"MBCS\" /Fo" +
           productPath(project, "S.obj") + " " + productPath(project, "_api.c") + "  & lib.exe /OUT:" +
           productPath(project, "S.lib") + " " + productPath(project, "S.obj") + " ";
}

std::string demoCompileLine(const CProjectRecord& project, const std::string& vcvars)
{
    return compilerHead(vcvars, "", project.location) + "/D \"WIN32\" /D\"_DEBUG\" /D\"_CONSOLE\"  /D\"MBCS\" /Fe" +
           productPath(project, "_demo.exe") + " " + productPath(project, "_api.c") + " " +
           productPath(project, "_api_demo.c") + "  /link /nologo /subsystem:console /incremental:no /machine:I386 " +
           libraryPaths(project.location);
}

// The mingw-w64 lines run in the project folder and name its files relative
// to it. Everything the demo needs is linked in, so it runs without DLLs
// beside it.
namespace {

std::vector<std::string> gccHead(const std::string& gcc)
{
    return {gcc, "-std=gnu99", "-Wall", "-O2", "-DLIBXML_STATIC", "-I.", "-Ilib/include", "-Ilibxml2/include"};
}

void addLinkLibraries(std::vector<std::string>& arguments)
{
    arguments.insert(arguments.end(), {"-Llib/bin/win32", "-ltessaroMTD", "-Llibxml2/lib", "-lxml2", "-lws2_32",
                                       "-lsecur32", "-lcrypt32", "-lbcrypt", "-static"});
}

}  // namespace

std::string archiverBeside(const std::string& gcc)
{
    const std::size_t nameStart = folderOfPath(gcc).size();
    const std::size_t at = gcc.rfind("gcc");
    if (at == std::string::npos || at < nameStart)
        return gcc.substr(0, nameStart) + "ar";
    const std::size_t dot = gcc.find('.', at);
    return gcc.substr(0, at) + "ar" + (dot == std::string::npos ? "" : gcc.substr(dot));
}

std::vector<CBuildStep> gccLibrarySteps(const CProjectRecord& project, const std::string& gcc)
{
    const std::string& name = project.name;
    std::vector<std::string> compile = gccHead(gcc);
    if (project.libraryType == CProjectRecord::DllLibrary) {
        compile.insert(compile.begin() + 1, "-shared");
        compile.insert(compile.end(), {"-o", name + ".dll", name + "_api.c", "-Wl,--out-implib," + name + ".lib"});
        addLinkLibraries(compile);
        return {CBuildStep{compile}};
    }
    compile.insert(compile.end(), {"-c", "-o", name + "S.obj", name + "_api.c"});
    return {CBuildStep{compile}, CBuildStep{{archiverBeside(gcc), "rcs", name + "S.lib", name + "S.obj"}}};
}

std::vector<CBuildStep> gccDemoSteps(const CProjectRecord& project, const std::string& gcc)
{
    std::vector<std::string> compile = gccHead(gcc);
    compile.insert(compile.end(), {"-o", project.name + "_demo.exe", project.name + "_api.c", project.name + "_api_demo.c"});
    addLinkLibraries(compile);
    return {CBuildStep{compile}};
}

std::vector<std::string> libraryProducts(const CProjectRecord& project)
{
    std::vector<std::string> suffixes{".dll", ".lib", ".exp", "_api.obj"};
    if (project.libraryType != CProjectRecord::DllLibrary)
        suffixes = {"S.lib", "S.obj"};
    std::vector<std::string> paths;
    for (const std::string& suffix : suffixes)
        paths.push_back(joinProjectPath(project.location, project.name + suffix));
    return paths;
}

std::string demoProduct(const CProjectRecord& project)
{
    return joinProjectPath(project.location, project.name + "_demo.exe");
}

std::string makeRulesCopyLine(const std::string& appFolder, const std::string& location, bool windows)
{
    if (!windows)
        return "cp -f " + shellArgument(appFolder + "make/Make.rules") + " " + shellArgument(location);
    // A final backslash before the closing quote would escape it.
    const std::string target = endsInSeparator(location) ? location + "." : location;
    return "xcopy /Y " + quoted(appFolder + "make\\Make.rules") + " " + quoted(target);
}
