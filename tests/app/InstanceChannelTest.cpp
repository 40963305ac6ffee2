// A second start hands its file to the running program through the local socket.
#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <future>

namespace vantor {
namespace {

// Runs the event loop until `sent` is ready and `until` holds (at most five seconds).
template <typename F>
void spin(std::future<bool> &sent, F until)
{
    QElapsedTimer clock;
    clock.start();
    while ((sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready || !until()) &&
           clock.elapsed() < 5000)
        QCoreApplication::processEvents();
}

TEST(InstanceChannel, HandsOverFilesAndActivationEvenToAReceiverBusyWithAPrompt)
{
    QTemporaryDir runtime;
    const QString name = runtime.filePath("vantor.socket");
    EXPECT_FALSE(InstanceChannel::sendFile("/x/没人.mdb", name, 200));

    InstanceChannel channel;
    ASSERT_TRUE(channel.listen(name));
    QStringList received;
    int activations = 0;
    // The receiver answers with a modal prompt: its own event loop runs while the
    // second start hangs up and its socket goes away.
    QObject::connect(&channel, &InstanceChannel::fileRequested, [&](const QString &path) {
        QEventLoop prompt;
        QTimer::singleShot(300, &prompt, &QEventLoop::quit);
        prompt.exec();
        received << path;
    });
    QObject::connect(&channel, &InstanceChannel::activationRequested, [&] { ++activations; });

    for (const QString &path : {QString("/home/u/项目 1.mdb"), QString("/home/u/P5.mdb")}) {
        auto sent = std::async(std::launch::async, [&] { return InstanceChannel::sendFile(path, name); });
        spin(sent, [&] { return received.contains(path); });
        EXPECT_TRUE(sent.get());
    }
    EXPECT_EQ(received, (QStringList{"/home/u/项目 1.mdb", "/home/u/P5.mdb"}));
    auto bare = std::async(std::launch::async, [&] { return InstanceChannel::sendFile(QString(), name); });
    spin(bare, [&] { return activations > 0; });
    EXPECT_TRUE(bare.get());
    EXPECT_EQ(activations, 1);
}

} // namespace
} // namespace vantor
