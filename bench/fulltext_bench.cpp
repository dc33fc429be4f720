// fulltext_bench: how fast attached files are read for the content search, and
// (with "search" as the first argument) how fast a search of their text answers.
#include "FulltextBench.h"

#include <cstring>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "search") == 0)
        return fulltextSearchBench(argc - 1, argv + 1);
    return fulltextExtractBench(argc, argv);
}
