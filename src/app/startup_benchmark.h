#pragma once

class QWidget;

// With --startup-benchmark the program prints how long it took from the process start
// (dynamic loading included) to the first painted frame of `window`, then quits.
void armStartupBenchmark(QWidget* window);

// Milliseconds since the kernel started this process, to its clock tick; -1 when the
// system does not say.
double millisecondsSinceProcessStart();
