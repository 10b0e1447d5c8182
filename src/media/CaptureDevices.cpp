#include "media/CaptureDevices.h"

#include "media/Elements.h"

#include <algorithm>
#include <vector>

// GStreamer 1.22's PulseAudio device provider drops the subscription it makes on start without
// freeing it (88 bytes a listing). Told here rather than in every test's environment, so that
// sanitizer builds of whatever lists the devices stay clean. The leak's stack, unwound the fast
// way, ends inside libpulse, so only the library can be named.
#if defined(__SANITIZE_ADDRESS__)
#define LURVO_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LURVO_LEAK_CHECKED 1
#endif
#endif
#ifdef LURVO_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n";
}
#endif

namespace lurvo::media {

namespace {

using GstDeviceMonitorPtr = std::unique_ptr<GstDeviceMonitor, GstObjectUnref>;

struct WalkedDevice {
    GstDevicePtr device;
    CaptureCandidate candidate;
};

QString takeText(gchar* text) {
    GCharPtr owned(text);
    return owned ? QString::fromUtf8(owned.get()) : QString();
}

// Text of a structure field as a person reads it: strings bare, the rest serialised.
QString valueText(const GValue* value) {
    if (G_VALUE_HOLDS_STRING(value))
        return QString::fromUtf8(g_value_get_string(value));
    return takeText(gst_value_serialize(value));
}

// gst_structure_to_string ends with ';', which only separates structures in caps.
QString structureText(const GstStructure* structure) {
    QString text = takeText(gst_structure_to_string(structure));
    if (text.endsWith(u';'))
        text.chop(1);
    return text;
}

QString stableKey(GstDevice* device, GstElement* element) {
    QString key;
    if (element != nullptr) {
        if (GstElementFactory* factory = gst_element_get_factory(element))
            key += QString::fromUtf8(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)));
        GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(element), "device");
        if (property != nullptr && property->value_type == G_TYPE_STRING) {
            gchar* opened = nullptr;
            g_object_get(element, "device", &opened, nullptr);
            key += QLatin1Char('\n') + takeText(opened);
        }
    }
    if (GstStructurePtr properties{gst_device_get_properties(device)}) {
        gst_structure_remove_field(properties.get(), "is-default");
        key += QLatin1Char('\n') + structureText(properties.get());
    }
    return key;
}

// Every audio source the monitor knows, with what decides whether it counts.
std::vector<WalkedDevice> walkCaptureDevices() {
    ensureGstInitialized();
    std::vector<WalkedDevice> walked;
    GstDeviceMonitorPtr monitor(gst_device_monitor_new());
    GstCapsPtr caps(gst_caps_new_empty_simple("audio/x-raw"));
    gst_device_monitor_add_filter(monitor.get(), "Audio/Source", caps.get());
    // Started providers list what they found on start and close their connections on stop; a
    // bare probe would do, but PulseAudio's (GStreamer 1.22) leaves its context behind on every
    // call. When nothing starts, get_devices probes.
    const bool started = gst_device_monitor_start(monitor.get());
    GList* devices = gst_device_monitor_get_devices(monitor.get());
    if (started)
        gst_device_monitor_stop(monitor.get());
    for (GList* item = devices; item != nullptr; item = item->next) {
        WalkedDevice entry{GstDevicePtr(GST_DEVICE(item->data)), {}};
        entry.candidate.name = takeText(gst_device_get_display_name(entry.device.get()));
        // Made only to learn that the device can be opened; thrown away at once.
        GstElementPtr element =
            adoptElement(gst_device_create_element(entry.device.get(), nullptr));
        entry.candidate.creatable = element != nullptr;
        entry.candidate.key = stableKey(entry.device.get(), element.get());
        walked.push_back(std::move(entry));
    }
    g_list_free(devices);
    return walked;
}

QList<SelectedCapture> select(const std::vector<WalkedDevice>& walked) {
    QList<CaptureCandidate> candidates;
    candidates.reserve(qsizetype(walked.size()));
    for (const WalkedDevice& entry : walked)
        candidates.append(entry.candidate);
    return selectCaptureDevices(candidates);
}

GstDevicePtr addRef(GstDevice* device) {
    return GstDevicePtr(device ? GST_DEVICE(gst_object_ref(device)) : nullptr);
}

} // namespace

CaptureDevice::CaptureDevice(GstDevicePtr device, QString name)
    : device(std::move(device)), name(std::move(name)) {}

CaptureDevice::CaptureDevice(const CaptureDevice& other)
    : device(addRef(other.device.get())), name(other.name) {}

CaptureDevice& CaptureDevice::operator=(const CaptureDevice& other) {
    if (this != &other) {
        device = addRef(other.device.get());
        name = other.name;
    }
    return *this;
}

QString cutDeviceName(const QString& name) {
    QString cut = name.left(kMaxDeviceNameChars);
    if (cut.size() < name.size() && !cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

QList<SelectedCapture> selectCaptureDevices(const QList<CaptureCandidate>& candidates) {
    std::vector<int> counted;
    for (int i = 0; i < int(candidates.size()); ++i)
        if (!candidates[i].name.isEmpty() && candidates[i].creatable)
            counted.push_back(i);
    std::stable_sort(counted.begin(), counted.end(), [&](int a, int b) {
        const CaptureCandidate& x = candidates[a];
        const CaptureCandidate& y = candidates[b];
        if (const int byName = x.name.compare(y.name); byName != 0)
            return byName < 0;
        return x.key < y.key;
    });
    if (counted.size() > std::size_t(kMaxCaptureDevices))
        counted.resize(std::size_t(kMaxCaptureDevices));
    QList<SelectedCapture> selected;
    for (int i : counted)
        selected.append({i, cutDeviceName(candidates[i].name)});
    return selected;
}

QList<CaptureDevice> listCaptureDevices() {
    std::vector<WalkedDevice> walked = walkCaptureDevices();
    QList<CaptureDevice> devices;
    for (const SelectedCapture& s : select(walked))
        devices.append(CaptureDevice(std::move(walked[std::size_t(s.candidate)].device), s.name));
    return devices;
}

CaptureDevice OpenCaptureDevice(int index) {
    if (index < 0 || index >= kMaxCaptureDevices)
        return {};
    std::vector<WalkedDevice> walked = walkCaptureDevices();
    const QList<SelectedCapture> selected = select(walked);
    if (index >= selected.size())
        return {};
    const SelectedCapture& s = selected[index];
    return CaptureDevice(std::move(walked[std::size_t(s.candidate)].device), s.name);
}

int CaptureDeviceList::EnumerateCaptureDevices() {
    entries_ = listCaptureDevices();
    return count();
}

void CaptureDeviceList::ReleaseCaptureDevices() {
    entries_.clear();
}

const CaptureDevice& CaptureDeviceList::entry(int i) const {
    static const CaptureDevice none;
    return i >= 0 && i < count() ? entries_[i] : none;
}

CaptureDeviceDescription describeCaptureDevice(const CaptureDevice& device) {
    CaptureDeviceDescription description;
    if (!device)
        return description;
    GstDevice* d = device.device.get();
    description.name = takeText(gst_device_get_display_name(d));
    description.deviceClass = takeText(gst_device_get_device_class(d));
    if (GstCapsPtr caps{gst_device_get_caps(d)}) {
        for (guint i = 0; i < gst_caps_get_size(caps.get()); ++i)
            description.caps.append(structureText(gst_caps_get_structure(caps.get(), i)));
    }
    if (GstStructurePtr properties{gst_device_get_properties(d)}) {
        const int fields = gst_structure_n_fields(properties.get());
        for (int i = 0; i < fields; ++i) {
            const gchar* field = gst_structure_nth_field_name(properties.get(), guint(i));
            description.properties.append(
                {QString::fromUtf8(field),
                 valueText(gst_structure_get_value(properties.get(), field))});
        }
    }
    return description;
}

} // namespace lurvo::media
