#include "schema/Group.h"

#include "schema/ContentModel.h"

#include <utility>

namespace Schema {

Group::Group(std::string name, int minOccurs, int maxOccurs)
    : maxOccurs_(maxOccurs), minOccurs_(minOccurs), name_(std::move(name))
{
}

Group::Group(const Group& other)
    : maxOccurs_(other.maxOccurs_),
      minOccurs_(other.minOccurs_),
      name_(other.name_),
      contentModel_(other.contentModel_),
      reference_(true)
{
}

Group& Group::operator=(const Group& other)
{
    maxOccurs_ = other.maxOccurs_;
    minOccurs_ = other.minOccurs_;
    name_ = other.name_;
    contentModel_ = other.contentModel_;
    reference_ = true;
    return *this;
}

Group::~Group() = default;

} // namespace Schema
