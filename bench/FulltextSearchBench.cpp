#include "FulltextBench.h"

int fulltextSearchBench(int, char **)
{
    return 0;
}
