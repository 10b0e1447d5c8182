#include "media/CaptureDevices.h"

#include "TestSink.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace lurvo::media;

namespace {

QStringList namesOf(const QList<SelectedCapture>& selected) {
    QStringList names;
    for (const SelectedCapture& s : selected)
        names.append(s.name);
    return names;
}

TEST(CaptureDeviceSelection, CountsOnlyNamedDevicesThatOpen) {
    const QList<CaptureCandidate> candidates = {
        {"Microphone", "k1", true},
        {"", "k2", true},         // no display name
        {"Line In", "k3", false}, // no element can be made
        {"Headset", "k4", true},
    };
    const QList<SelectedCapture> selected = selectCaptureDevices(candidates);
    ASSERT_EQ(selected.size(), 2);
    EXPECT_EQ(selected[0].candidate, 3);
    EXPECT_EQ(selected[0].name, "Headset");
    EXPECT_EQ(selected[1].candidate, 0);
    EXPECT_EQ(selected[1].name, "Microphone");
    EXPECT_TRUE(selectCaptureDevices({}).isEmpty());
    EXPECT_TRUE(selectCaptureDevices({{"", "a", true}, {"x", "b", false}}).isEmpty());
}

TEST(CaptureDeviceSelection, CutsNamesAtSixtyThreeCharacters) {
    const QString seventy = QString(60, u'a') + QStringLiteral("bcdefghijk");
    const QString exact = QString(63, u'x');
    // A character outside the basic plane straddling the cut is dropped whole.
    const QString straddling = QString(62, u'y') + QStringLiteral("\U0001F3A4") + "z";
    const QList<SelectedCapture> selected =
        selectCaptureDevices({{seventy, "", true}, {exact, "", true}, {straddling, "", true}});
    ASSERT_EQ(selected.size(), 3);
    EXPECT_EQ(selected[0].name, seventy.left(63));
    EXPECT_EQ(selected[0].name.size(), 63);
    EXPECT_TRUE(selected[0].name.endsWith("abcd"));
    EXPECT_EQ(selected[1].name, exact);
    EXPECT_EQ(selected[2].name, QString(62, u'y'));
    EXPECT_EQ(cutDeviceName("Mic"), "Mic");
}

// The monitor reports devices in the order they appeared; the list must not depend on it.
TEST(CaptureDeviceSelection, OrderIsByNameThenKeyWhateverTheMonitorOrder) {
    QList<CaptureCandidate> candidates = {
        {"USB Mic", "pulsesrc\nb", true}, {"Built-in", "pulsesrc\nz", true},
        {"USB Mic", "pulsesrc\na", true}, {"Array", "alsasrc\nhw:1", true},
        {"", "nameless", true},
    };
    const QStringList expectedKeys = {"alsasrc\nhw:1", "pulsesrc\nz", "pulsesrc\na", "pulsesrc\nb"};
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& a, const auto& b) { return a.key < b.key; });
    do {
        QStringList keys;
        for (const SelectedCapture& s : selectCaptureDevices(candidates))
            keys.append(candidates[s.candidate].key);
        ASSERT_EQ(keys, expectedKeys);
    } while (std::next_permutation(candidates.begin(), candidates.end(),
                                   [](const auto& a, const auto& b) { return a.key < b.key; }));
}

TEST(CaptureDeviceSelection, DevicesPastTheSixteenthAreNeitherListedNorOpened) {
    // Twenty devices, reported last-first: "Mic 01" to "Mic 16" count, "Mic 17" on never do.
    QList<CaptureCandidate> candidates;
    for (int i = 20; i >= 1; --i)
        candidates.append({QStringLiteral("Mic %1").arg(i, 2, 10, QChar(u'0')), "", true});
    candidates.insert(5, {"", "", true});
    const QList<SelectedCapture> selected = selectCaptureDevices(candidates);
    ASSERT_EQ(selected.size(), kMaxCaptureDevices);
    EXPECT_EQ(selected.front().name, "Mic 01");
    EXPECT_EQ(selected.back().name, "Mic 16");
    for (const SelectedCapture& s : selected)
        EXPECT_EQ(candidates[s.candidate].name, s.name);
    EXPECT_FALSE(namesOf(selected).contains("Mic 17"));
}

// Needs the sound server with the tests' null sink.
TEST(CaptureDevices, ListAndOpenAgreeOnTheRealDevices) {
    const QList<CaptureDevice> devices = listCaptureDevices();
    ASSERT_FALSE(devices.isEmpty());
    ASSERT_LE(devices.size(), kMaxCaptureDevices);
    ASSERT_GE(lurvo::test::testMonitorIndex(devices), 0)
        << "no " << lurvo::test::testMonitorName().toStdString();
    for (int i = 0; i < devices.size(); ++i) {
        ASSERT_TRUE(devices[i]);
        const CaptureDevice opened = OpenCaptureDevice(i);
        ASSERT_TRUE(opened) << i;
        EXPECT_EQ(opened.name, devices[i].name) << i;
        EXPECT_EQ(describeCaptureDevice(opened).properties,
                  describeCaptureDevice(devices[i]).properties)
            << i;
    }
    EXPECT_FALSE(OpenCaptureDevice(int(devices.size())));
    EXPECT_TRUE(OpenCaptureDevice(int(devices.size())).name.isEmpty());
    EXPECT_FALSE(OpenCaptureDevice(-1));
}

TEST(CaptureDevices, TableHoldsReferencesUntilReleased) {
    CaptureDeviceList table;
    const int found = table.EnumerateCaptureDevices();
    ASSERT_GT(found, 0);
    EXPECT_EQ(table.count(), found);
    EXPECT_FALSE(table.entry(found));
    EXPECT_FALSE(table.entry(-1));

    GstDevice* raw = table.entry(0).device.get();
    const int refs = GST_OBJECT_REFCOUNT_VALUE(raw);
    CaptureDevice picked = table.entry(0).copy();
    EXPECT_EQ(picked.device.get(), raw);
    EXPECT_EQ(picked.name, table.entry(0).name);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(raw), refs + 1);
    table.ReleaseCaptureDevices();
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(table.entry(0));
    // The picked device outlives the table.
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(raw), refs);
    EXPECT_EQ(describeCaptureDevice(picked).name.left(63), picked.name);
    EXPECT_EQ(table.EnumerateCaptureDevices(), found);
}

TEST(CaptureDevices, DescriptionOfTheMonitor) {
    const QList<CaptureDevice> devices = listCaptureDevices();
    const int monitor = lurvo::test::testMonitorIndex(devices);
    ASSERT_GE(monitor, 0);
    const CaptureDeviceDescription description = describeCaptureDevice(devices[monitor]);
    EXPECT_EQ(description.name, devices[monitor].name);
    EXPECT_EQ(description.deviceClass, "Audio/Source");
    ASSERT_FALSE(description.caps.isEmpty());
    EXPECT_TRUE(description.caps[0].startsWith("audio/x-raw")) << description.caps[0].toStdString();
    for (const QString& line : description.caps)
        EXPECT_FALSE(line.contains(';')) << line.toStdString();
    EXPECT_TRUE(
        description.properties.contains(std::pair<QString, QString>("device.class", "monitor")));

    const CaptureDeviceDescription none = describeCaptureDevice(CaptureDevice());
    EXPECT_TRUE(none.name.isEmpty());
    EXPECT_TRUE(none.caps.isEmpty());
    EXPECT_TRUE(none.properties.isEmpty());
}

} // namespace
