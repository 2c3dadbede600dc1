#include "model/buffer_reuse.h"

#include <benchmark/benchmark.h>

// The benchmarks run under the same allocator settings as the editor and kromel-cli.
int main(int argc, char** argv)
{
    keepLargeBuffersForReuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
