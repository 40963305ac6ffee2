// A second start hands its file to the running program through the local socket.
#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <future>

namespace vantor {
namespace {

TEST(InstanceChannel, SecondStartHandsOverItsFileAndNobodyListeningIsNoHandOver)
{
    const QString name = QString("vantor-test-%1").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(InstanceChannel::sendFile("/x/没人.mdb", name, 200));

    InstanceChannel channel;
    ASSERT_TRUE(channel.listen(name));
    QString received;
    QObject::connect(&channel, &InstanceChannel::fileRequested, [&](const QString &path) { received = path; });
    auto sent = std::async(std::launch::async, [&] { return InstanceChannel::sendFile("/home/u/项目 1.mdb", name); });
    QElapsedTimer clock;
    clock.start();
    while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(received, "/home/u/项目 1.mdb");
}

} // namespace
} // namespace vantor
