// Resource ids of the paint benchmark's images.
#pragma once

#define BENCH_BACK 145
#define BENCH_STRIP_56 135
#define BENCH_STRIP_62 130
#define BENCH_STRIP_306 131
