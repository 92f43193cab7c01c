#ifndef KELVANE_GENERATOR_MODEL_SERVICEVIEWREADER_H
#define KELVANE_GENERATOR_MODEL_SERVICEVIEWREADER_H

#include "generator/model/ServiceView.h"

namespace Wsdl {
class WsdlParser;
}

// Builds the emitters' view from a parser that has read its document to
// the end without error. Every id is read in the table it belongs to: a
// type borrowed from another schema through the schema that defines it, a
// message part through the schema it was found in.
CServiceView readServiceView(const Wsdl::WsdlParser& parser);

#endif
