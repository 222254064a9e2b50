// Out-of-line members of the scene container.
#include <tessiv/scene/tscene.h>

namespace kolt {

void TScene::ClearInfo()
{
    for (cvector<std::uint32_t> &list : info_)
        list.clear();
}

}  // namespace kolt
