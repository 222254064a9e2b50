// The root of the framework's class tree: CObject and its run-time class
// record, which names a class, its schema, its base class and, for
// dynamically creatable classes, the function that makes a new object.
//
// A class takes part by declaring DECLARE_DYNAMIC (or DECLARE_DYNCREATE) in
// its body and IMPLEMENT_DYNAMIC (or IMPLEMENT_DYNCREATE) in one source
// file; RUNTIME_CLASS(name) then gives its record.
#pragma once

#include <tessiv/platform/windef.h>

#include <new>

class CObject;

// One per participating class, a static object. The base class is reached
// through a function so records in different libraries can refer to each
// other without depending on static initialisation order.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: not serialisable
    CObject *(*m_pfnCreateObject)();
    CRuntimeClass *(*m_pfnGetBaseClass)();

    // A new object of the class, or null when the class is not dynamically
    // creatable or the allocation fails.
    CObject *CreateObject() const;
    // True when this class is base_class or derives from it.
    BOOL IsDerivedFrom(CRuntimeClass const *base_class) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                 \
protected:                                                          \
    static CRuntimeClass *_GetBaseClass();                          \
                                                                    \
public:                                                             \
    static CRuntimeClass class##class_name;                         \
    static CRuntimeClass *GetThisClass();                           \
    CRuntimeClass *GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject *CreateObject();

#define TESSIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)               \
    CRuntimeClass *class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); }       \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                   schema, create, &class_name::_GetBaseClass}; \
    CRuntimeClass *class_name::GetThisClass() { return &class_name::class##class_name; }        \
    CRuntimeClass *class_name::GetRuntimeClass() const { return &class_name::class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    TESSIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

// CreateObject allocates without throwing, so a failed allocation gives null.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                  \
    CObject *class_name::CreateObject() { return new (std::nothrow) class_name; }         \
    TESSIV_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

// The base of every framework class: a virtual destructor and run-time
// class information. Objects are not copyable.
class CObject {
public:
    virtual ~CObject() = default;
    CObject(CObject const &) = delete;
    CObject &operator=(CObject const &) = delete;

    virtual CRuntimeClass *GetRuntimeClass() const;
    // True when the object's class is the given class or derives from it;
    // false for a null class.
    BOOL IsKindOf(CRuntimeClass const *runtime_class) const;
    BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

    static CRuntimeClass classCObject;
    static CRuntimeClass *GetThisClass();

protected:
    CObject() = default;
    static CRuntimeClass *_GetBaseClass();
};
