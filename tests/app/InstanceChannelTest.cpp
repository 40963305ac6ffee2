// A second start hands its file to the running program through the local socket.
#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <future>

namespace vantor {
namespace {

// Runs the event loop until `sent` is ready and `until` holds (at most five seconds).
template <typename F> void spin(std::future<bool> &sent, F until)
{
    QElapsedTimer clock;
    clock.start();
    while ((sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready || !until()) &&
           clock.elapsed() < 5000)
        QCoreApplication::processEvents();
}

// Handing a file to a receiver busy with a prompt is run on the real program
// (tests/scenario/startup.sh); here the two ends it does not reach.
TEST(InstanceChannel, NobodyListeningIsRefusedAndABareStartOnlyActivates)
{
    QTemporaryDir runtime;
    const QString name = runtime.filePath("vantor.socket");
    EXPECT_FALSE(InstanceChannel::sendFile("/x/没人.mdb", name, 200));

    InstanceChannel channel;
    ASSERT_TRUE(channel.listen(name));
    QStringList received;
    int activations = 0;
    QObject::connect(&channel, &InstanceChannel::fileRequested, [&](const QString &path) { received << path; });
    QObject::connect(&channel, &InstanceChannel::activationRequested, [&] { ++activations; });
    auto bare = std::async(std::launch::async, [&] { return InstanceChannel::sendFile(QString(), name); });
    spin(bare, [&] { return activations > 0; });
    EXPECT_TRUE(bare.get());
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(received.isEmpty());
}

} // namespace
} // namespace vantor
