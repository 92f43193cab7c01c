#ifndef KELVANE_PROJECT_CALL_CALLSERVICE_H
#define KELVANE_PROJECT_CALL_CALLSERVICE_H

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>

namespace Wsdl {
class WsdlParser;
}
class CServiceView;

// The project's service as the call window uses it: the view of the parsed
// service (its ports, operations and samples) and the WSDL's schemas that
// requests are checked against, from one reading of the document. The
// reading is kept while the document stays as it was read: a check or a
// window opened again costs no parse; a document changed on disk since
// (modification time or size) is read again.
class CallService {
public:
    // The document at wsdlPath with the built-in schemas of schemaFolder.
    CallService(std::string wsdlPath, std::string schemaFolder);
    ~CallService();
    CallService(const CallService&) = delete;
    CallService& operator=(const CallService&) = delete;

    const std::string& wsdlPath() const { return wsdlPath_; }
    const std::string& schemaFolder() const { return schemaFolder_; }

    // Whether a reading is kept and the document is unchanged since.
    bool current() const;
    // Reads the document unless the kept reading is current, the reader's
    // messages (and a failure it could not report itself) going to messages,
    // each line naming its document, line and column. False when the
    // document was rejected; nothing is kept then.
    bool read(std::ostream& messages);
    // How many times the document was read.
    int readings() const { return readings_; }

    // After a read that returned true.
    const CServiceView& view() const { return *view_; }
    Wsdl::WsdlParser& schemas() const { return *parser_; }

private:
    struct Stamp {
        std::filesystem::file_time_type time;
        std::uintmax_t size = 0;
        bool operator==(const Stamp& other) const { return time == other.time && size == other.size; }
    };
    // The document's stamp; false when it cannot be had (no such file).
    bool stampOf(Stamp& stamp) const;
    void drop();

    std::string wsdlPath_;
    std::string schemaFolder_;
    // The kept parser's own stream: it writes to it for as long as it lives.
    std::ostringstream diagnostics_;
    std::unique_ptr<Wsdl::WsdlParser> parser_;
    std::unique_ptr<CServiceView> view_;
    Stamp stamp_;
    int readings_ = 0;
};

#endif
