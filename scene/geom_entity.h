// kolt::CGeomEntity: a geometric object with its vertex positions and a
// modified flag, the element type of a scene's object list.
#pragma once

#include <tessiv/core/cvector.h>
#include <tessiv/core/point.h>
#include <tessiv/scene/base_object.h>

namespace kolt {

// A scene object with vertices. It owns its vertex array by value; copies
// are deep. Still abstract: concrete objects supply the BaseObject operations.
class CGeomEntity : public BaseObject {
public:
    CGeomEntity() = default;
    CGeomEntity(CGeomEntity const &other) : BaseObject(other), vertices_(other.vertices_), modified_(other.modified_) {}
    CGeomEntity &operator=(CGeomEntity const &other)
    {
        vertices_ = other.vertices_;
        modified_ = other.modified_;
        return *this;
    }
    ~CGeomEntity() override;

    // Unchecked: i must be below the vertex count.
    Pnt3 &GetVert(unsigned int i) { return vertices_.at(i); }
    Pnt3 const &GetVert(unsigned int i) const { return vertices_.at(i); }
    cvector<Pnt3> &GetVertices() { return vertices_; }
    cvector<Pnt3> const &GetVertices() const { return vertices_; }

    bool Modified() const { return modified_; }
    void SetModifiedFlag(bool modified) { modified_ = modified; }

protected:
    cvector<Pnt3> vertices_;
    bool modified_ = false;
};

}  // namespace kolt
