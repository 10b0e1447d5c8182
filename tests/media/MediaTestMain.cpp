// The media tests need an application object: graphs post their notifications as Qt events.
#include <QCoreApplication>

#include <gst/gst.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
