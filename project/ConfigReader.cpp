#include "project/ConfigReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// expat hands us UTF-8; our strings keep one byte per character.
bool toLatin1(const char* utf8, std::size_t length, std::string& out)
{
    out.clear();
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < length) {
            out += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

struct OpenElement {
    xcfg_node* node;
    xcfg_node* lastChild;
};

class TreeBuilder {
public:
    TreeBuilder(XML_Parser parser, xcfg_doc& doc) : parser_(parser), doc_(doc)
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &TreeBuilder::onStart, &TreeBuilder::onEnd);
        XML_SetCharacterDataHandler(parser, &TreeBuilder::onText);
        XML_SetStartDoctypeDeclHandler(parser, &TreeBuilder::onDoctype);
    }

    int error() const { return error_; }

private:
    // Runs one event unless an earlier one failed; a failure stops expat.
    template <typename Work>
    static void guarded(void* data, Work work)
    {
        TreeBuilder& self = *static_cast<TreeBuilder*>(data);
        if (self.error_ != 0)
            return;
        try {
            work(self);
        } catch (const std::bad_alloc&) {
            self.fail(ENOMEM);
        }
    }

    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** atts)
    {
        guarded(data, [name, atts](TreeBuilder& self) { self.start(name, atts); });
    }

    static void XMLCALL onEnd(void* data, const XML_Char*)
    {
        guarded(data, [](TreeBuilder& self) {
            self.flushText();
            self.open_.pop_back();
        });
    }

    static void XMLCALL onText(void* data, const XML_Char* text, int length)
    {
        guarded(data, [text, length](TreeBuilder& self) { self.run_.append(text, static_cast<std::size_t>(length)); });
    }

    // A document type declaration could declare entities; our files have none.
    static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        guarded(data, [](TreeBuilder& self) { self.fail(XCFG_REJECTED); });
    }

    void fail(int code)
    {
        error_ = code;
        XML_StopParser(parser_, XML_FALSE);
    }

    bool latin1(const char* utf8, std::size_t length, std::string& out)
    {
        if (toLatin1(utf8, length, out))
            return true;
        fail(EILSEQ);
        return false;
    }

    void start(const XML_Char* name, const XML_Char** atts)
    {
        flushText();
        if (open_.size() >= static_cast<std::size_t>(xcfg_doc::kMaxDepth))
            return fail(XCFG_REJECTED);
        doc_.nodes.push_back(std::make_unique<xcfg_node>());
        xcfg_node* node = doc_.nodes.back().get();
        if (!latin1(name, std::strlen(name), node->name))
            return;
        for (const XML_Char** pair = atts; pair[0] != nullptr; pair += 2) {
            node->attrs.emplace_back();
            if (!latin1(pair[0], std::strlen(pair[0]), node->attrs.back().name)
                || !latin1(pair[1], std::strlen(pair[1]), node->attrs.back().value))
                return;
        }
        link(node);
    }

    void link(xcfg_node* node)
    {
        if (open_.empty()) {
            doc_.root = node;
        } else {
            OpenElement& parent = open_.back();
            (parent.lastChild ? parent.lastChild->next : parent.node->child) = node;
            parent.lastChild = node;
        }
        open_.push_back({node, nullptr});
        lastStarted_ = node;
    }

    // Text pieces between two tags form one run; a non-blank run replaces
    // the text of the element started last.
    void flushText()
    {
        static const char kBlanks[] = " \t\n";
        const std::size_t first = run_.find_first_not_of(kBlanks);
        if (first != std::string::npos && lastStarted_ != nullptr) {
            const std::size_t last = run_.find_last_not_of(kBlanks);
            latin1(run_.data() + first, last - first + 1, lastStarted_->text);
        }
        run_.clear();
    }

    XML_Parser parser_;
    xcfg_doc& doc_;
    std::vector<OpenElement> open_;
    xcfg_node* lastStarted_ = nullptr;
    std::string run_;
    int error_ = 0;
};

int parseFile(std::FILE* file, XML_Parser parser, xcfg_doc& doc)
{
    TreeBuilder builder(parser, doc);
    char buffer[4096];
    long total = 0;
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
        if (std::ferror(file))
            return errno != 0 ? errno : EIO;
        total += static_cast<long>(count);
        if (total > xcfg_doc::kMaxBytes)
            return EFBIG;
        const bool final = std::feof(file) != 0;
        const XML_Status status = XML_Parse(parser, buffer, static_cast<int>(count), final);
        if (builder.error() != 0)
            return builder.error();
        if (status == XML_STATUS_ERROR)
            return XML_GetErrorCode(parser) == XML_ERROR_NO_MEMORY ? ENOMEM : XCFG_REJECTED;
        if (final)
            return XCFG_OK;
    }
}

bool isDigits(const std::string& text)
{
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

}  // namespace

int xcfg_load(xcfg_doc& doc, const char* path, const XML_Memory_Handling_Suite* memory)
{
    doc.root = nullptr;
    doc.nodes.clear();
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file)
        return errno != 0 ? errno : ENOENT;
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(memory ? XML_ParserCreate_MM(nullptr, memory, nullptr)
                                                                : XML_ParserCreate(nullptr));
    if (!parser)
        return XCFG_REJECTED;
    return parseFile(file.get(), parser.get(), doc);
}

int xcfg_check_root(const xcfg_doc& doc, const char* name)
{
    if (doc.root == nullptr)
        return XCFG_NO_ROOT;
    return doc.root->name == name ? XCFG_OK : EINVAL;
}

int xcfg_find_node(const xcfg_node*& out, const xcfg_node* start, int count,
                   std::initializer_list<const char*> names)
{
    out = nullptr;
    if (start == nullptr || count < 0 || names.size() == 0 || static_cast<std::size_t>(count) > names.size())
        return XCFG_NOT_FOUND;
    const xcfg_node* node = start;
    if (count == 0) {
        while (node != nullptr && node->name != *names.begin())
            node = node->next;
    } else {
        for (auto name = names.begin(); node != nullptr && name != names.begin() + count; ++name) {
            node = node->child;
            while (node != nullptr && node->name != *name)
                node = node->next;
        }
    }
    if (node == nullptr)
        return XCFG_NOT_FOUND;
    out = node;
    return XCFG_OK;
}

int xcfg_find_attr(const xcfg_node* node, const char* name, const std::string*& out)
{
    out = nullptr;
    if (node == nullptr)
        return XCFG_NOT_FOUND;
    for (const xcfg_attr& attr : node->attrs) {
        if (attr.name == name) {
            out = &attr.value;
            return XCFG_OK;
        }
    }
    return XCFG_NOT_FOUND;
}

int xcfg_get_str(const xcfg_node* node, const char* attr, std::string& out)
{
    if (node == nullptr)
        return XCFG_NOT_FOUND;
    if (attr == nullptr) {
        out = node->text;
        return XCFG_OK;
    }
    const std::string* value = nullptr;
    const int rc = xcfg_find_attr(node, attr, value);
    if (rc == XCFG_OK)
        out = *value;
    return rc;
}

int xcfg_get_int(const xcfg_node* node, const char* attr, int& out)
{
    static const std::string kLimit = "2147483647";
    std::string text;
    const int rc = xcfg_get_str(node, attr, text);
    if (rc != XCFG_OK)
        return rc;
    if (text.empty())
        return XCFG_NOT_FOUND;
    if (!isDigits(text))
        return EINVAL;
    if (text.size() > kLimit.size() || (text.size() == kLimit.size() && text > kLimit))
        return E2BIG;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    out = value;
    return XCFG_OK;
}
