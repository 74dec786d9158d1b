// The network URL parser on arbitrary text. What it accepts has a host and a port of 1 to
// 65535, is written as a network URL, and reads back as itself from its canonical form.

#include "NetworkTarget.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto target = parseNetworkTarget(text);
    if (!target)
        return 0;
    if (target->host.isEmpty() || target->port == 0 || !looksLikeNetworkUrl(text))
        __builtin_trap();
    const auto again = parseNetworkTarget(target->url());
    if (!again || *again != *target)
        __builtin_trap();
    return 0;
}
