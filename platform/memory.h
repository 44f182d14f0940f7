#pragma once
// How the program's memory is kept.

namespace Memory {

// Pictures (the canvas, its undo copy, a preview read from a file) are large
// blocks: they are taken straight from the system and given back to it when let
// go, instead of staying in the heap, where a stroke's undo copy would leave a
// hole the next one does not fit. Threads share the heap rather than each
// keeping its own. Call once, first thing.
void keepHeapSmall();

} // namespace Memory
