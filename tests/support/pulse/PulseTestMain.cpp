// main() of the audio test programs: one private PulseAudio server for the whole program.
#include "tests/support/pulse/PulseServer.h"

#include <gtest/gtest.h>

#include <memory>

namespace quortest {
namespace {
std::unique_ptr<PulseServer> g_server;

class PulseEnvironment : public ::testing::Environment {
public:
    void SetUp() override { g_server = std::make_unique<PulseServer>(); }
    void TearDown() override { g_server.reset(); }
};
} // namespace

PulseServer& SharedPulseServer() {
    return *g_server;
}

} // namespace quortest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new quortest::PulseEnvironment);
    return RUN_ALL_TESTS();
}
