#ifndef KELVANE_SCHEMA_CONTENTMODEL_H
#define KELVANE_SCHEMA_CONTENTMODEL_H

#include "schema/Element.h"
#include "schema/Group.h"

#include <memory>
#include <string>
#include <vector>

namespace Schema {

// The particles of a "sequence", "choice" or "all": element declarations,
// group references and nested content models, in document order.
class ContentModel {
public:
    enum Compositor { Sequence = 0, Choice = 1, All = 2 };
    enum ContentKind { Particle = 0, ParticleGroup = 1, ParticleContent = 2 };

    // One particle. Exactly one of the three pointers is set, as the kind says;
    // the entry owns it (a group's own content model may be shared).
    class Entry {
    public:
        explicit Entry(std::unique_ptr<Element> element);
        explicit Entry(std::unique_ptr<Group> group);
        explicit Entry(std::unique_ptr<ContentModel> model);

        int getKind() const { return kind_; }
        Element* getElement() const { return element_.get(); }
        Group* getGroup() const { return group_.get(); }
        ContentModel* getContentModel() const { return model_.get(); }

    private:
        int kind_;
        std::unique_ptr<Element> element_;
        std::unique_ptr<Group> group_;
        std::unique_ptr<ContentModel> model_;
    };

    explicit ContentModel(int compositor);
    ContentModel(const ContentModel&) = delete;
    ContentModel& operator=(const ContentModel&) = delete;
    ~ContentModel();

    // The three adders check the rules of "all" first and throw
    // SchemaParserException without storing anything. The stored particle
    // stays where it is for as long as the model lives.
    Element& addElement(Element element);
    // reference false: the entry is the group's definition; true: it refers to it.
    void addGroup(const Group& group, bool reference);
    // Takes ownership; returns the stored model so the caller can fill it.
    ContentModel* addContentModel(std::unique_ptr<ContentModel> model);

    // True for as long as this model lives: whoever keeps a particle of it to
    // come back to later checks this first.
    std::shared_ptr<const bool> lifeFlag();

    int getCompositor() const { return compositor_; }
    const std::vector<Entry>& getContents() const { return contents_; }
    int getMin() const { return minOccurs_; }
    int getMax() const { return maxOccurs_; }
    void setMin(int minOccurs) { minOccurs_ = minOccurs; }
    void setMax(int maxOccurs) { maxOccurs_ = maxOccurs; }
    int getNumElements() const { return elementCount_; }
    bool anyContents() const { return anyContent_; }

private:
    int compositor_;
    std::vector<Entry> contents_;
    int minOccurs_ = 1;
    int maxOccurs_ = 1;
    int elementCount_ = 0;
    bool anyContent_ = false;
    std::shared_ptr<bool> alive_;
};

} // namespace Schema

#endif
