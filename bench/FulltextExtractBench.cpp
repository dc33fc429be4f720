#include "FulltextBench.h"

int fulltextExtractBench(int, char **)
{
    return 0;
}
