#pragma once
// The host's answers to the handset's feature probes. Each returns whether the host has the
// feature; device.ini overrides are applied by the caller.

namespace platform {

bool ProbeBluetooth();      // an AF_BLUETOOTH RFCOMM stream socket can be created
bool ProbeWifi();           // some /sys/class/net/*/wireless entry exists
bool Probe3dGraphics();     // libGLESv1_CM.so.1 can be loaded (and stays loaded)
bool ProbeCamera();         // a /dev/video* device exists
bool ProbeAccelerometer();  // an IIO accelerometer exists under /sys/bus/iio/devices

}  // namespace platform
