#pragma once

// Under ThreadSanitizer: races it reports inside libraries that are not built for it and synchronise in
// ways it cannot see (Qt's futex-based QThread hand-over, libmpv's and FFmpeg's decoder threads, the font
// lookup that libmpv's players start on their own threads). Our
// own code never runs beneath these frames. Included by the sources that start such threads; the
// definition is emitted once per binary.
#if defined(__SANITIZE_THREAD__)
extern "C" inline __attribute__((used)) const char* __tsan_default_suppressions()
{
    return "race:QWaitCondition\n"
           "race:libmpv.so\n"
           "race:libavcodec.so\n"
           "race:libavformat.so\n"
           "race:libavutil.so\n"
           "race:libswresample.so\n"
           "race:libfontconfig.so\n";
}
#endif
