#include "tavro_binding.h"

int BindTavroApi()
{
    return BindTavroApiList(TavroApiList::Full);
}
