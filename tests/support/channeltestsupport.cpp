// Linked into the tests of the channels layer: the channel catalogue keeps what it read from the
// program folder from one test function to the next.
#include "channels/channelcatalog.h"
#include "testsupport.h"

namespace {
void resetChannelLayer(HttpTransfer* /*transfer*/)
{
    kov::resetChannelCatalog();
}
[[maybe_unused]] const bool kRegistered = TestEnvironment::addLayerReset(&resetChannelLayer);
} // namespace
