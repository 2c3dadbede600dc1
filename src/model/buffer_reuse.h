#pragma once

// Every recorded edit snapshots the area it touches, and on a large canvas those
// snapshots are megabytes each. By default the C library hands such blocks back to the
// system on release and page-faults fresh ones in on the next edit, which costs more
// than the edit itself on a 4096 x 4096 fill. Call once at program start, before any
// large allocation, to keep released blocks of up to 32 MiB (the most the C library
// allows) and up to 256 MiB of spare heap in all for reuse. Does nothing where the C
// library offers no such setting.
void keepLargeBuffersForReuse();
