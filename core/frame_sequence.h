// A sequence: the files of one directory whose names differ only in the run of digits
// just before the extension.
#pragma once
#include "platform/platform.h"

// Lists the sequence of the file named in PathBuffer into NameTable (sorted, so the
// order does not depend on the file system) and finds the named file in it.
// 0 on success; -1 when the path does not fit, the listing fails or finds nothing.
int ScanSequence();

// Puts the name of the frame at CurrentFrame into PathBuffer and opens that file.
// NULL when CurrentFrame is out of range (PathBuffer untouched), when the frame's
// path does not fit PathBuffer, or when the file cannot be opened.
PlatFile OpenCurrentFrame();

// OpenCurrentFrame for a reader: NULL as well when the picture or LineBuffer is not
// there for the current scale (memory ran out), so a reader never writes past them.
PlatFile OpenFrameToDecode();

// The readers' block buffer: one read brings up to this many bytes of rows (16 YUV10
// rows, 7 TIFF rows: one read call per block instead of per row, and a block still sits
// in the second-level cache while its rows are converted).
enum { READ_BLOCK_SIZE = 81920 };
// The block buffer, allocated on first use and kept; NULL while there is no memory for
// it (the readers then go on through LineBuffer, and the next frame asks again).
uint8_t* ReadBlock();
// Releases the block buffer; the next ReadBlock allocates it again. Exposed for tests.
void ReleaseReadBlock();

// Whether name fits pattern the way the viewer lists a sequence: letter case ignored,
// '?' exactly one character, '*' any run of characters. Exposed for tests.
int NameFitsPattern(const char* name, const char* pattern);
