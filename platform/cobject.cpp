// Run-time class records and the CObject root.
#include <tessiv/platform/cobject.h>

CObject *CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(CRuntimeClass const *base_class) const
{
    if (!base_class)
        return FALSE;
    for (CRuntimeClass const *runtime_class = this; runtime_class;
         runtime_class = runtime_class->m_pfnGetBaseClass ? runtime_class->m_pfnGetBaseClass() : nullptr)
        if (runtime_class == base_class)
            return TRUE;
    return FALSE;
}

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                       &CObject::_GetBaseClass};
CRuntimeClass *CObject::_GetBaseClass() { return nullptr; }
CRuntimeClass *CObject::GetThisClass() { return &classCObject; }
CRuntimeClass *CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(CRuntimeClass const *runtime_class) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtime_class);
}
