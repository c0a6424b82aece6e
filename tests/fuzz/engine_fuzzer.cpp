// Coverage-guided fuzzing of the engine: the input bytes become a stream of window events,
// run against the scripted controls with every invariant checked after every handler.

#include "eventstream.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace riderar::testing;
    const EventStream stream = decodeStream({data, size});
    if (const auto failure = runStream(stream)) {
        std::fprintf(stderr, "broken after event %zu: %s\n%s", failure->event,
                     failure->what.c_str(), describe(stream).c_str());
        std::abort();
    }
    return 0;
}
