#ifndef KELVANE_PROJECT_PROJECTFILES_H
#define KELVANE_PROJECT_PROJECTFILES_H

#include <functional>
#include <iosfwd>
#include <string>

// Paths of a project's files. Both '\' and '/' end a folder; joining inserts
// the system's own separator, and only when the folder does not end in one.
extern const char kPathSeparator;

std::string joinProjectPath(const std::string& folder, const std::string& file);

// The folder part of a path, with its final separator; empty without one.
std::string folderOfPath(const std::string& path);

// A project name is used bare as a file name in the project folder and as
// the start of C identifiers: letters, digits and '_', not starting with a
// digit, not a C keyword and not a name Windows keeps for a device.
bool isValidProjectName(const std::string& name);

// The one way a document of the project reaches the disk: the frame's Save
// of an editor's text, the Makefile and the files kvgen generates. The file
// at path is replaced by what write puts into the stream, byte for byte
// (line ends as written). False when it could not be opened or written
// completely.
bool writeDocumentFile(const std::string& path, const std::function<void(std::ostream&)>& write);
bool writeDocumentFile(const std::string& path, const std::string& text);

// The whole file at path, byte for byte; false when it could not be read.
bool readDocumentFile(const std::string& path, std::string& text);

// A way to write a document at path as writeDocumentFile does; the command
// line brings its own, which stages the files of a run.
using DocumentWriter = std::function<bool(const std::string& path, const std::function<void(std::ostream&)>& write)>;

// How the documents of one command reach their writer: one after the other,
// none after one that could not be written; or all at the same time, each
// from a thread of its own, which suits only a writer that may be called so
// and that puts nothing in place before every document was written.
enum class DocumentWrites { OneByOne, Together };

#endif
