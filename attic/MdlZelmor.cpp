#include "app/MdlZelmor.h"

namespace MdlZelmor {

void Reset()
{
    TargetRate = 1;
    TargetSymbol = 0;
    AppDir.clear();
    SaveLines.fill(QString());
}

} // namespace MdlZelmor
