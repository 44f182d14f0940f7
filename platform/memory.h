#pragma once
// How the program's memory is kept.

#include <cstddef>

namespace Memory {

// Pictures (the canvas, its undo copy, a preview read from a file) are large
// blocks: they are taken straight from the system and given back to it when let
// go, instead of staying in the heap, where a stroke's undo copy would leave a
// hole the next one does not fit. Threads share the heap rather than each
// keeping its own. Call once, first thing.
void keepHeapSmall();

// Drops the pages wholly inside [data, data + size) from the process, where that
// loses nothing: only pages of a read-only mapping of a file (the program's own
// embedded data), which a later read brings back from the file. Anything else is
// left as it is. Returns the bytes handed back.
std::size_t handBackFilePages(const void *data, std::size_t size);

// Hands back the pages of the data embedded in the program (":/"): what the start
// read of it has been copied out, and the pictures shown from where they lie are
// in the windows' own buffers once drawn; a later read or repaint brings back the
// pages it needs from the program file. Returns the bytes handed back.
std::size_t handBackEmbeddedData();

} // namespace Memory
