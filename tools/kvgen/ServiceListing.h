#ifndef KELVANE_TOOLS_KVGEN_SERVICELISTING_H
#define KELVANE_TOOLS_KVGEN_SERVICELISTING_H

#include <iosfwd>

class CServiceView;

// kvgen --list: each service with its ports (binding and address) and the
// operations of each port with their style and SOAP action; then the port
// types no service port reaches.
void listService(const CServiceView& view, std::ostream& out);

#endif
