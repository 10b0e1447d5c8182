#pragma once

#include "media/GstHandles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace lurvo::media {

// The same limit for listing and opening, so that the indexes of both agree.
inline constexpr int kMaxCaptureDevices = 16;
inline constexpr int kMaxDeviceNameChars = 63;

// A sound-capture device: the GStreamer device and its display name (cut at 63 characters).
struct CaptureDevice {
    GstDevicePtr device; // null for "no device"
    QString name;

    CaptureDevice() = default;
    CaptureDevice(GstDevicePtr device, QString name);
    // Copies hold another reference to the same device.
    CaptureDevice(const CaptureDevice& other);
    CaptureDevice& operator=(const CaptureDevice& other);
    CaptureDevice(CaptureDevice&&) noexcept = default;
    CaptureDevice& operator=(CaptureDevice&&) noexcept = default;

    explicit operator bool() const { return device != nullptr; }
    // Another reference to the same device.
    CaptureDevice copy() const { return *this; }
};

// What the device walk learns of one device before deciding whether it counts.
struct CaptureCandidate {
    QString name;           // display name; empty when the device has none
    QString key;            // stable text telling apart devices of the same name
    bool creatable = false; // an element could be made from the device
};

// One device that counts: its position among the candidates and its name as listed.
struct SelectedCapture {
    int candidate = -1;
    QString name;
};

// The devices that count, in list order. A device counts when it has a display name and an
// element can be made from it. The monitor's own order depends on when each device appeared,
// so the list is sorted by display name, then by key (ties keep the monitor's order), and
// only then cut to kMaxCaptureDevices: a 17th device is never listed nor opened, whatever
// order the devices come in. Names are cut with cutDeviceName.
QList<SelectedCapture> selectCaptureDevices(const QList<CaptureCandidate>& candidates);

// The first kMaxDeviceNameChars characters of a name, never splitting a surrogate pair.
QString cutDeviceName(const QString& name);

// Every usable capture device (GstDeviceMonitor on "Audio/Source" with audio/x-raw), in the
// order of selectCaptureDevices. The key of a device is the factory of the element it makes
// and that element's "device" property (what the element opens), then the provider's
// properties without the "is-default" flag, which changes with the user's choice of default.
QList<CaptureDevice> listCaptureDevices();

// The device at `index` (from 0) of that same list; a null CaptureDevice when there is none.
CaptureDevice OpenCaptureDevice(int index);

// The device dialog's table: filled by EnumerateCaptureDevices, emptied by
// ReleaseCaptureDevices. The entry the user picks is kept with entry(i).copy().
class CaptureDeviceList {
public:
    // Replaces the table with the devices found now; their number.
    int EnumerateCaptureDevices();
    void ReleaseCaptureDevices();
    int count() const { return int(entries_.size()); }
    // A null device for an index outside the table.
    const CaptureDevice& entry(int i) const;

private:
    QList<CaptureDevice> entries_;
};

// What the device properties dialog shows of a device; empty for a null device.
struct CaptureDeviceDescription {
    QString name;
    QString deviceClass;
    QStringList caps; // one structure a line
    QList<std::pair<QString, QString>> properties;
};
CaptureDeviceDescription describeCaptureDevice(const CaptureDevice& device);

} // namespace lurvo::media
