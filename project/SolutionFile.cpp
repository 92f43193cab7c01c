#include "project/SolutionFile.h"

#include "project/ConfigReader.h"
#include "project/ProjectFiles.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

// Quotes, markup and the blanks that attribute values would lose to
// normalisation become references; other bytes go as they are, read back
// one by one as ISO-8859-1.
bool appendAttributeValue(std::string& out, const std::string& value)
{
    for (char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            out += c;
        }
    }
    return true;
}

namespace {

int readProject(const xcfg_node* node, CProjectRecord& record)
{
    int rc = xcfg_get_str(node, "name", record.name);
    if (rc == XCFG_OK)
        rc = xcfg_get_int(node, "library_type", record.libraryType);
    if (rc == XCFG_OK)
        rc = xcfg_get_int(node, "auth_type", record.authType);
    if (rc == XCFG_OK)
        rc = xcfg_get_int(node, "target_platform", record.targetPlatform);
    if (rc == XCFG_OK)
        rc = xcfg_get_str(node, "wsdl_path", record.wsdlPath);
    return rc;
}

}  // namespace

std::string solutionFilePath(const CProjectRecord& record)
{
    return joinProjectPath(record.location, record.name + ".zbq");
}

bool formatSolution(const CProjectRecord& record, std::string& text)
{
    text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<solution>\r\n<project name=\"";
    if (!appendAttributeValue(text, record.name))
        return false;
    text += "\" library_type=\"" + std::to_string(record.libraryType) + "\" auth_type=\""
            + std::to_string(record.authType) + "\" target_platform=\"" + std::to_string(record.targetPlatform)
            + "\" wsdl_path=\"";
    if (!appendAttributeValue(text, record.wsdlPath))
        return false;
    text += "\" >\r\n</project>\r\n</solution>";
    return true;
}

int saveSolution(const CProjectRecord& record)
{
    std::string text;
    if (!isValidProjectName(record.name) || !formatSolution(record, text))
        return EINVAL;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(solutionFilePath(record).c_str(), "wb"));
    if (!file)
        return errno != 0 ? errno : EIO;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (std::fclose(file.release()) != 0 || !written)
        return errno != 0 ? errno : EIO;
    return 0;
}

int loadSolution(const std::string& path, CProjectRecord& record)
{
    xcfg_doc doc;
    int rc = xcfg_load(doc, path.c_str());
    if (rc == XCFG_OK)
        rc = xcfg_check_root(doc, "solution");
    const xcfg_node* first = nullptr;
    if (rc == XCFG_OK)
        rc = xcfg_find_node(first, doc.root, 1, {"project"});
    CProjectRecord read;
    for (const xcfg_node* node = first; rc == XCFG_OK && node != nullptr; node = node->next) {
        if (node->name == "project")
            rc = readProject(node, read);
    }
    if (rc != XCFG_OK)
        return rc;
    if (!isValidProjectName(read.name))
        return EINVAL;
    read.location = folderOfPath(path);
    record = std::move(read);
    return XCFG_OK;
}
