#ifndef KELVANE_SCHEMA_GROUP_H
#define KELVANE_SCHEMA_GROUP_H

#include <memory>
#include <string>
#include <utility>

namespace Schema {

class ContentModel;

// A named model group, or a reference to one. The definition and every
// reference share one content model; it lives as long as any of them.
class Group {
public:
    Group(std::string name, int minOccurs, int maxOccurs);
    // A copy refers to the content model of the group it was copied from.
    Group(const Group& other);
    Group& operator=(const Group& other);
    Group(Group&& other) noexcept = default;
    Group& operator=(Group&& other) noexcept = default;
    ~Group();

    const std::string& getName() const { return name_; }
    int getMin() const { return minOccurs_; }
    int getMax() const { return maxOccurs_; }
    ContentModel* getContentModel() const { return contentModel_.get(); }
    const std::shared_ptr<ContentModel>& getSharedContentModel() const { return contentModel_; }
    void setContentModel(std::shared_ptr<ContentModel> model) { contentModel_ = std::move(model); }
    // True when this group only refers to a content model defined elsewhere.
    bool isReference() const { return reference_; }
    void setReference(bool reference) { reference_ = reference; }

private:
    int maxOccurs_;
    int minOccurs_;
    std::string name_;
    std::shared_ptr<ContentModel> contentModel_;
    bool reference_ = false;
};

} // namespace Schema

#endif
