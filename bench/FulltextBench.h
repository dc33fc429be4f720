#pragma once
// The two halves of fulltext_bench: reading attached files (no server needed) and
// searching their text on a large register.
int fulltextExtractBench(int argc, char **argv);
int fulltextSearchBench(int argc, char **argv);
