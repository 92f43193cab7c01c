#pragma once

#include "net/HttpClient.h"
#include "net/XmlCatalog.h"

#include <cstddef>
#include <functional>
#include <string>

// Gives in fileName a local file that holds the document at location.
// A location that starts with "http://", "https://" or "ftp://" is downloaded
// into a new file of the current folder (8 letters and ".kw-tmp"), once per
// process: later calls for the same address get the same file. The result is
// true only when the whole document arrived; a failed download leaves no file,
// fileName empty, and is tried again by the next call. A document larger than
// maximumSize bytes is a failed download. Any other location is a local name,
// given back unchanged, with the result telling whether it can be opened for
// reading. A location the catalog of setFetchCatalog maps is fetched from
// where it maps it. The location "-" is the standard input, read once into a file
// like a download.
constexpr const char* StandardInputLocation = "-";
bool fetchUri(const std::string& location, std::string& fileName,
              std::size_t maximumSize = HttpClient::kMaximumDocumentSize);
// The same, saying in failure why it failed: the cause alone ("connection
// refused", "HTTP 404 Not Found", "file not found" ...), for the caller to
// put beside the location.
bool fetchUri(const std::string& location, std::string& fileName, std::string& failure,
              std::size_t maximumSize = HttpClient::kMaximumDocumentSize);

// The most seconds one download may take, for every fetch of the process
// from now on; 0 leaves the transport's own limits.
constexpr int kDefaultFetchTimeoutSeconds = 60;
void setFetchTimeout(int seconds);
int fetchTimeout();

// Called with the location before each download starts (a cached address
// is not downloaded again), so that a program can say what it waits for.
// An empty function says nothing; that is the default.
void setFetchAnnouncer(std::function<void(const std::string& location)> announce);

// The catalogs every later fetch consults first: a location they map is
// fetched from where they send it (a local copy, another address). The
// default is none.
void setFetchCatalog(XmlCatalog catalog);
// Called with the location and where a catalog sent it, for a program that
// says so (kvgen -v). An empty function says nothing; that is the default.
void setCatalogAnnouncer(std::function<void(const std::string& location, const std::string& mapped)> announce);

// Deletes the files that fetchUri downloaded in this process, wherever the
// current folder has moved since, and forgets them, so that a later fetch of
// the same address downloads it again. Other files are never touched.
void removeFetchedFiles();
