#pragma once

#include <functional>

// Called by a writer after each row with the rows done and the rows in all;
// returning false stops the walk, and the writer finishes what it has.
using ExportProgress = std::function<bool(int done, int total)>;
