#include "core/Beall.h"

TBeall &Beall()
{
    static TBeall record;
    return record;
}
