#ifndef KELVANE_WSDL_WSDLNAMESPACES_H
#define KELVANE_WSDL_WSDLNAMESPACES_H

namespace Wsdl {

// Namespaces matched by name, written exactly as their standards define them.
inline constexpr const char* WsdlUri = "http://schemas.xmlsoap.org/wsdl/";
inline constexpr const char* SoapBindingUri = "http://schemas.xmlsoap.org/wsdl/soap/";
inline constexpr const char* Soap12BindingUri = "http://schemas.xmlsoap.org/wsdl/soap12/";
inline constexpr const char* SoapEncodingUri = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr const char* SoapHttpTransportUri = "http://schemas.xmlsoap.org/soap/http";

} // namespace Wsdl

#endif
