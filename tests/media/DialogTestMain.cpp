// Dialog tests run on the offscreen platform with a real QApplication, and GStreamer ready for
// what they play or check.
#include <QApplication>

#include <gst/gst.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gst_init(&argc, &argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
