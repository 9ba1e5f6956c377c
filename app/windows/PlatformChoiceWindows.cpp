#include "app/PlatformChoice.h"

namespace app {

void ChooseQtPlatform()
{
    // Qt's default, "windows", is the desktop's own: nothing to choose.
}

}  // namespace app
