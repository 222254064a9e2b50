// kolt::BaseObject: the root of the geometric objects that a scene owns.
//
// It has no data. Derived classes supply the four pure operations (their
// class identifier, a copy of themselves and their own record), and may
// react to the end of a scene load through OnLoadDone.
#pragma once

namespace kolt {

class CStreamI;
class CStreamO;
class TScene;

// Polymorphic base of scene objects; owns nothing. Objects are deleted
// through the virtual destructor by whoever owns them (the scene's list).
class BaseObject {
public:
    BaseObject() = default;
    BaseObject(BaseObject const &) {}
    BaseObject &operator=(BaseObject const &) { return *this; }
    virtual ~BaseObject() {}

    virtual unsigned long ClassID() const = 0;
    // A new object of the same class with the same content; the caller owns it.
    virtual BaseObject *Clone() const = 0;
    virtual bool Save(CStreamO &stream) = 0;
    virtual bool Load(CStreamI &stream) = 0;

    // Called once the whole scene has been read, so that an object can
    // resolve the handles it loaded.
    virtual void OnLoadDone(TScene &) {}
};

}  // namespace kolt
