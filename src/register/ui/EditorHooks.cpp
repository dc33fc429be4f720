#include "register/ui/EditorHooks.h"

EditorHooks &editorHooks()
{
    static EditorHooks hooks;
    return hooks;
}
