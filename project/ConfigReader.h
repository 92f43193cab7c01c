#ifndef KELVANE_PROJECT_CONFIGREADER_H
#define KELVANE_PROJECT_CONFIGREADER_H

#include <expat.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// A small XML reader for our own configuration files: the file becomes a tree
// of elements, and look-ups answer with error codes rather than exceptions.
// Strings are 8-bit: what the file holds as characters up to U+00FF comes back
// as one byte each, so an ISO-8859-1 file returns the bytes it was written
// with. Nothing is cut short; a file above kMaxBytes is refused instead.

enum {
    XCFG_OK = 0,
    XCFG_REJECTED = -1,    // the parser was not made, or refused the input
    XCFG_NOT_FOUND = 2010, // no such node or attribute, or an empty value
    XCFG_NO_ROOT = 2024,
    // Other positive codes are C runtime error numbers: the failed open or
    // read, EINVAL (22) for a name or number that does not match, E2BIG (7)
    // for a number above 2147483647, ENOMEM, EILSEQ for a character beyond
    // U+00FF, EFBIG for a file that is too large.
};

struct xcfg_attr {
    std::string name;
    std::string value;
};

struct xcfg_node {
    std::string name;
    // The last non-blank run of character data seen while this element was
    // the most recently started one, without its leading and trailing spaces,
    // tabs and line feeds.
    std::string text;
    std::vector<xcfg_attr> attrs; // in document order
    xcfg_node* next = nullptr;    // next sibling
    xcfg_node* child = nullptr;   // first child
};

struct xcfg_doc {
    static constexpr long kMaxBytes = 1L << 20;
    static constexpr int kMaxDepth = 64;

    xcfg_node* root = nullptr;
    // Every node of the tree, freed with the document.
    std::vector<std::unique_ptr<xcfg_node>> nodes;
};

// Builds doc's tree from the file at path (opened in binary mode). A document
// type declaration, nesting deeper than kMaxDepth or more than kMaxBytes is
// refused, so no entity is ever declared or fetched. After a failure the doc
// holds the part of the tree built so far. memory is for tests that make
// expat's allocations fail.
int xcfg_load(xcfg_doc& doc, const char* path, const XML_Memory_Handling_Suite* memory = nullptr);

// 0 when the root element is called name, 22 when not, 2024 without a root.
int xcfg_check_root(const xcfg_doc& doc, const char* name);

// With count > 0: from start, walks down one level per name to the first
// child of that name. With count 0: start and its following siblings are
// searched for the first name. out is null unless 0 is returned.
int xcfg_find_node(const xcfg_node*& out, const xcfg_node* start, int count,
                   std::initializer_list<const char*> names);

// The value of node's first attribute of that name; out is null when missing.
int xcfg_find_attr(const xcfg_node* node, const char* name, const std::string*& out);

// The attribute's value, or the node's text when attr is null.
int xcfg_get_str(const xcfg_node* node, const char* attr, std::string& out);

// The same value as a plain decimal number from 0 to 2147483647: no sign,
// no blanks. out is written only when 0 is returned.
int xcfg_get_int(const xcfg_node* node, const char* attr, int& out);

#endif
