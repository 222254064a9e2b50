// Out-of-line members of the scene's object and curve bases.
#include <tessiv/scene/ctrl_entity.h>
#include <tessiv/scene/geom_entity.h>

namespace kolt {

CGeomEntity::~CGeomEntity() = default;

CtrlEntity::~CtrlEntity() = default;

CtrlEntity &CtrlEntity::operator=(CtrlEntity const &other)
{
    name_ = other.name_;
    type_ = other.type_;
    tag_ = other.tag_;
    return *this;
}

}  // namespace kolt
