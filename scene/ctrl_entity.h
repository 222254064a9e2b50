// kolt::CtrlEntity: the root of the curve entities, and the class
// identifiers that the curve and mesh records report.
#pragma once

#include <cstdint>

#include <tessiv/platform/mfc_string.h>

namespace kolt {

// Values returned by ClassID().
enum : unsigned long {
    kClassIdCtrlEntity = 0xC2405FBCul,
    kClassIdSpline = 0xD4FE5009ul,
    kClassId3DSpline = 0xB4FF5697ul,
    kClassIdMeshBase = 0x2BE712E8ul,
};

// A named, typed curve entity. Owns its name; derived curves add their
// points and supply Clone.
class CtrlEntity {
public:
    CtrlEntity() = default;
    CtrlEntity(CtrlEntity const &other) : name_(other.name_), type_(other.type_), tag_(other.tag_) {}

    virtual unsigned long ClassID() const { return kClassIdCtrlEntity; }
    // A new entity of the same class with the same content; the caller owns it.
    virtual CtrlEntity *Clone() const = 0;
    virtual ~CtrlEntity();
    // Copies the name, the type and the tag.
    virtual CtrlEntity &operator=(CtrlEntity const &other);

    CString GetName() const { return name_; }
    void SetName(char const *name) { name_ = name; }
    int GetType() const { return type_; }
    void SetType(int type) { type_ = type; }

protected:
    CString name_;
    int type_ = 0;
    // Free for the deriving curve (no accessor here); copied with the entity.
    std::uint32_t tag_ = 0;
};

}  // namespace kolt
