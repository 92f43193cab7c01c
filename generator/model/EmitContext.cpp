#include "generator/model/EmitContext.h"

// The message keys read only the view: they are worked out on a thread of
// their own (where one can be had) while the layout is.
CEmitContext::CEmitContext(const CProjectRecord& project, const CServiceView& view)
    : CEmitContext(project, view, std::async(std::launch::async | std::launch::deferred, [&view] {
                       return std::make_unique<CMessageKeys>(view);
                   }))
{
}

CEmitContext::CEmitContext(const CProjectRecord& project, const CServiceView& view,
                           std::future<std::unique_ptr<CMessageKeys>> keys)
    : project_(project), view_(view), layout_(view, project.name, project.textLength), keys_(keys.get()),
      namespaces_(view)
{
}
