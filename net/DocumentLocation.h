#ifndef KELVANE_NET_DOCUMENTLOCATION_H
#define KELVANE_NET_DOCUMENTLOCATION_H

#include <string>

// Locations of documents: local paths (POSIX, drive letters, UNC) and URIs of
// any scheme. Relative locations are resolved against the folder of the
// document that names them.

// True when the location stands on its own: a URI with a scheme ("http:",
// "file:", "urn:" ...), a path from a root ("/", "\"), a drive letter ("C:")
// or a UNC path ("\\server\share").
bool isAbsoluteLocation(const std::string& location);

// The folder part of a location: up to and including its last separator
// ("/", and "\" for local paths; a URI's query is not searched). Empty when
// there is none.
std::string baseLocationOf(const std::string& location);

// location resolved against base (a folder ending in a separator, or empty),
// with "." and ".." segments folded so that one document has one spelling.
std::string resolveLocation(const std::string& base, const std::string& location);

// A "file:" URI as the local path it names (percent escapes decoded); any
// other location unchanged.
std::string localPathOf(const std::string& location);

#endif
