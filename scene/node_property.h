// kolt::NodeProperty: the root of the properties that a scene keeps for its
// nodes.
#pragma once

namespace kolt {

// Polymorphic and empty: hosts derive their properties from it, and the
// scene that owns them deletes them through the virtual destructor.
class NodeProperty {
public:
    virtual ~NodeProperty() {}
};

}  // namespace kolt
