// The module resource instance and the switch of the current resource handle.
#include <tessiv/view/module_resource.h>

#include <tessiv/platform/module_state.h>

namespace {

HINSTANCE module_resource_instance = nullptr;

}  // namespace

HINSTANCE TessivGetModuleResourceInstance() { return module_resource_instance; }
void TessivSetModuleResourceInstance(HINSTANCE instance) { module_resource_instance = instance; }

CModuleResourceSwitch::CModuleResourceSwitch() : previous_(AfxGetModuleState()->m_hCurrentResourceHandle)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = module_resource_instance;
}

CModuleResourceSwitch::~CModuleResourceSwitch() { AfxGetModuleState()->m_hCurrentResourceHandle = previous_; }
