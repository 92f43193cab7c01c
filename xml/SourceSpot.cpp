#include "xml/SourceSpot.h"

std::string locatedMessage(const SourceSpot& spot, const std::string& message)
{
    std::string text = spot.document;
    if (spot.line > 0)
        text += (text.empty() ? "" : ":") + std::to_string(spot.line) + ":" + std::to_string(spot.column);
    return (text.empty() ? text : text + ": ") + message;
}
