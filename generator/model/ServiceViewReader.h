#ifndef KELVANE_GENERATOR_MODEL_SERVICEVIEWREADER_H
#define KELVANE_GENERATOR_MODEL_SERVICEVIEWREADER_H

#include "generator/model/ServiceView.h"

#include <memory>

namespace Wsdl {
class WsdlParser;
}

// Builds the emitters' view from a parser that has read its document to
// the end without error. Every id is read in the table it belongs to: a
// type borrowed from another schema through the schema that defines it, a
// message part through the schema it was found in.
CServiceView readServiceView(const Wsdl::WsdlParser& parser);
// The same from a parser the reading ends: its model goes once read, before
// the view's C names are worked out, so that the largest part of the run's
// memory never stands beside the model.
CServiceView readServiceView(std::unique_ptr<Wsdl::WsdlParser> parser);

#endif
