#pragma once
// A measuring aid for the start-up benchmark: with KARVELO_BENCH_FIRST_FRAME set, the
// program prints, once its first frame has been painted,
//   first-frame <CLOCK_MONOTONIC ns> <ms since the process started> <VmHWM kB> <CPU ms>
// and then quits (value 1) or goes on running (value 2). Without it, nothing happens.
namespace karvelo {

void InstallFirstFrameProbe();

}  // namespace karvelo
