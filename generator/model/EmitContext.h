#ifndef KELVANE_GENERATOR_MODEL_EMITCONTEXT_H
#define KELVANE_GENERATOR_MODEL_EMITCONTEXT_H

#include "generator/model/MessageKeys.h"
#include "generator/model/ProjectRecord.h"
#include "generator/model/ServiceView.h"
#include "generator/model/StructLayout.h"
#include "generator/model/XmlNamespaces.h"

#include <future>
#include <memory>
#include <string>

// What every emitter of one run reads: the project record, the view of the
// parsed service, the struct layout and the message keys worked out from
// them, and the name forms <proj> (the project name as stored) and <PROJ>
// (upper-cased).
// Emitters are functions of a context and the buffer they append to.
class CEmitContext {
public:
    CEmitContext(const CProjectRecord& project, const CServiceView& view);
    CEmitContext(const CEmitContext&) = delete;
    CEmitContext& operator=(const CEmitContext&) = delete;

    const CProjectRecord& project() const { return project_; }
    const CServiceView& view() const { return view_; }
    const CStructLayout& layout() const { return layout_; }
    const CMessageKeys& keys() const { return *keys_; }
    const CXmlNamespaces& namespaces() const { return namespaces_; }
    const std::string& proj() const { return layout_.proj(); }
    const std::string& projUpper() const { return layout_.projUpper(); }
    // "<proj>_<name>_t".
    std::string typeName(const std::string& name) const { return layout_.typeName(name); }
    // The packet's msg_direction value of a direction (0 request, 1 response).
    std::string directionConstant(int direction) const
    {
        return projUpper() + (direction == 0 ? "_DIRECTION_REQUEST" : "_DIRECTION_RESPONSE");
    }

private:
    CEmitContext(const CProjectRecord& project, const CServiceView& view,
                 std::future<std::unique_ptr<CMessageKeys>> keys);

    const CProjectRecord& project_;
    const CServiceView& view_;
    CStructLayout layout_;
    std::unique_ptr<CMessageKeys> keys_;
    CXmlNamespaces namespaces_;
};

#endif
