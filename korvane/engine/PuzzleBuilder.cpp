#include "PuzzleBuilder.h"
// Placeholder: the engine is being written.
