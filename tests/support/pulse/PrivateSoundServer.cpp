// A global test environment that owns the private server.
#include "tests/support/pulse/PrivateSoundServer.h"

#include "tests/support/pulse/PulseServer.h"

#include <gtest/gtest.h>

#include <memory>

namespace quortest {
namespace {
std::unique_ptr<PulseServer> g_server;

class SoundServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { g_server = std::make_unique<PulseServer>(); }
    void TearDown() override { g_server.reset(); }
};

[[maybe_unused]] ::testing::Environment* const g_registered =
    ::testing::AddGlobalTestEnvironment(new SoundServerEnvironment);
} // namespace

PulseServer& DialogTestServer() {
    return *g_server;
}

} // namespace quortest
